// Exporting a module's entry points: KH_MODULE_EXPORT gives a function C linkage and makes it
// visible outside the module (everything else stays hidden). KH_EXPORT_NAME(name) gives a
// declaration a symbol name the language cannot spell, such as "main"; where the linker maps
// export names itself (a module-definition file) it is empty.
#pragma once

#ifdef _WIN32
#define KH_MODULE_EXPORT extern "C" __declspec(dllexport)
#define KH_EXPORT_NAME(name)
#else
#define KH_MODULE_EXPORT extern "C" __attribute__((visibility("default")))
#define KH_EXPORT_NAME(name) __asm__(name)
#endif
