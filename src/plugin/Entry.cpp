// The plug-in's entry points: the only symbols the library exports.
#include "plugin/Entry.h"

#define KH_EXPORT extern "C" __attribute__((visibility("default")))

KH_EXPORT vst::AEffect* VSTPluginMain(vst::HostCallback host) { return plugin::CreateEffect(host); }

// The classic entry name; declared through its symbol name so the compiler does not take it
// for a program's main function.
KH_EXPORT vst::AEffect* classicMain(vst::HostCallback host) __asm__("main");
KH_EXPORT vst::AEffect* classicMain(vst::HostCallback host) { return plugin::CreateEffect(host); }
