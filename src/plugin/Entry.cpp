// The plug-in's entry points: the only symbols the library exports.
#include "plugin/Entry.h"

#include "platform/ModuleExport.h"
#include "toolkit/MessageWindow.h"

namespace {

// Inside a host the user is told things in a small window (where there is a display).
vst::AEffect* Enter(vst::HostCallback host) {
  static const bool messageWindowInstalled = (toolkit::InstallMessageWindow(), true);
  (void)messageWindowInstalled;
  return plugin::CreateEffect(host);
}

}  // namespace

KH_MODULE_EXPORT vst::AEffect* VSTPluginMain(vst::HostCallback host) { return Enter(host); }

// The classic entry name; declared through its symbol name so the compiler does not take it
// for a program's main function.
KH_MODULE_EXPORT vst::AEffect* ClassicMain(vst::HostCallback host) KH_EXPORT_NAME("main");
KH_MODULE_EXPORT vst::AEffect* ClassicMain(vst::HostCallback host) { return Enter(host); }
