#pragma once

// Marks a class or function of the component library as part of its public interface. The
// shared library is meant to be built with hidden visibility, so only what carries this mark is
// exported; everything else stays internal and the compiler may inline calls to it.
#if defined(__GNUC__) || defined(__clang__)
#define KEL_EXPORT __attribute__((visibility("default")))
#else
#define KEL_EXPORT
#endif
