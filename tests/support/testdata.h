#pragma once

#include <QString>

// The books and files the tests read live in the repository's tests/data folder.
namespace testdata {

// The full path of a file of tests/data; a missing file fails the running test, naming it.
QString path(const QString &name);

// The whole file decoded from Windows-1251, or empty (and a failure) when it is missing.
QString text(const QString &name);

} // namespace testdata
