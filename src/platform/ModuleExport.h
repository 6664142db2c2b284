// Exporting a module's entry points: KH_MODULE_EXPORT gives a function C linkage and makes it
// visible outside the module (everything else stays hidden). KH_EXPORT_NAME(name) gives a
// declaration a symbol name the language cannot spell, such as "main"; x86-64 symbols carry no
// prefix on Linux nor on Windows, so that is the exported name on both.
#pragma once

#ifdef _WIN32
#define KH_MODULE_EXPORT extern "C" __declspec(dllexport)
#else
#define KH_MODULE_EXPORT extern "C" __attribute__((visibility("default")))
#endif
#define KH_EXPORT_NAME(name) __asm__(name)
