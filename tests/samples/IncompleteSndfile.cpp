// Stands in for an old libsndfile: it exports four of the five entry points the plug-in
// binds, and no sf_strerror.
#ifdef _WIN32
#define KH_EXPORT extern "C" __declspec(dllexport)
#else
#define KH_EXPORT extern "C" __attribute__((visibility("default")))
#endif

KH_EXPORT void* sf_open(const char*, int, void*) { return nullptr; }
KH_EXPORT int sf_close(void*) { return 0; }
KH_EXPORT int sf_command(void*, int, void*, int) { return 0; }
KH_EXPORT long long sf_read_float(void*, float*, long long) { return 0; }
