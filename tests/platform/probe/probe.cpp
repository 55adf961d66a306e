// A module of the platform tests' own, so that loading and binding are tested
// on a library that exists independently of the host modules.
#if defined(_WIN32)
#define PROBE_EXPORT extern "C" __declspec(dllexport)
#else
#define PROBE_EXPORT extern "C" __attribute__((visibility("default")))
#endif

PROBE_EXPORT int ProbeAnswer() { return 42; }
