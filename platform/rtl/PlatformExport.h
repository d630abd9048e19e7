#pragma once

// Marks a class or function of the platform libraries as part of their public interface. The
// shared libraries are meant to be built with hidden visibility, so only what carries this mark
// is exported; everything else stays internal and the compiler may inline calls to it.
#if defined(__GNUC__) || defined(__clang__)
#define KEL_PLATFORM_EXPORT __attribute__((visibility("default")))
#else
#define KEL_PLATFORM_EXPORT
#endif
