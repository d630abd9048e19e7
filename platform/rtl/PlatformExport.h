#pragma once

// Marks a class or function of the platform libraries as part of their public interface. The
// shared libraries are built with hidden visibility, so only what carries this mark is exported;
// everything else stays internal and the compiler may inline calls to it.
//
// The build defines KEL_PLATFORM_BUILD while it compiles the platform's own sources, and gives
// KEL_PLATFORM_STATIC to programs that link the runtime and the registry statically (the
// uninstaller), which neither import nor export them.
#if defined(_WIN32)
#if defined(KEL_PLATFORM_STATIC)
#define KEL_PLATFORM_EXPORT
#elif defined(KEL_PLATFORM_BUILD)
#define KEL_PLATFORM_EXPORT __declspec(dllexport)
#else
#define KEL_PLATFORM_EXPORT __declspec(dllimport)
#endif
#elif defined(__GNUC__) || defined(__clang__)
#define KEL_PLATFORM_EXPORT __attribute__((visibility("default")))
#else
#define KEL_PLATFORM_EXPORT
#endif
