#pragma once

// Marks a class or function of the component library as part of its public interface. The
// shared library is built with hidden visibility, so only what carries this mark is exported;
// everything else stays internal and the compiler may inline calls to it.
//
// The build defines KEL_LIBRARY_BUILD while it compiles the library's own sources.
#if defined(_WIN32)
#if defined(KEL_LIBRARY_BUILD)
#define KEL_EXPORT __declspec(dllexport)
#else
#define KEL_EXPORT __declspec(dllimport)
#endif
#elif defined(__GNUC__) || defined(__clang__)
#define KEL_EXPORT __attribute__((visibility("default")))
#else
#define KEL_EXPORT
#endif
