// Shared objects that are not VST 2.x plug-ins, for the host's refusal tests: one without
// any entry point, one whose entry point returns something that is not an effect record.
#include <cstdint>

#ifdef KH_WITH_ENTRY
namespace {
int32_t notAnEffect[48] = {};
}
extern "C" __attribute__((visibility("default"))) void* VSTPluginMain(void* /*host*/) { return notAnEffect; }
#else
extern "C" __attribute__((visibility("default"))) int kh_some_function() { return 1; }
#endif
