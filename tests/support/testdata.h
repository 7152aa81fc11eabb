#pragma once

#include <QString>

// The books and files the tests read live in the repository's tests/data folder.
namespace testdata {

// The full path of a file of tests/data. A file that is missing fails the running test,
// naming the file, and the path is still returned so the test's own check fails too.
QString path(const QString &name);

// The whole file decoded from Windows-1251, or empty (and a failure) when it is missing.
QString text(const QString &name);

} // namespace testdata
