#pragma once
// Finding the documents that ship beside keldemo.

#include <QString>

namespace Kel {

// The path of the document `fileName` (a bare file name) as "Read more" opens it: beside the
// program in `programDirectory`, or else one level above it (a program started from a build or
// bin folder below the documents). Empty when neither place holds a file of that name, or when
// either argument is empty. The result uses "/" as separator, which Qt accepts on every platform.
QString FindLocalDocument(const QString& programDirectory, const QString& fileName);

}  // namespace Kel
