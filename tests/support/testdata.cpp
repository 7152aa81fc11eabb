#include "support/testdata.h"

#include "platform/text/cp1251.h"

#include <QFile>
#include <QFileInfo>

#include <gtest/gtest.h>

namespace testdata {

QString path(const QString &name)
{
    const QString full = QStringLiteral(QUENVALE_TEST_DATA_DIR "/") + name;
    if (!QFileInfo::exists(full))
        ADD_FAILURE() << "test data file missing: " << full.toStdString();
    return full;
}

QString text(const QString &name)
{
    QFile f(path(name));
    if (!f.open(QIODevice::ReadOnly)) {
        ADD_FAILURE() << "cannot read test data " << f.fileName().toStdString() << ": "
                      << f.errorString().toStdString();
        return {};
    }
    return cp1251::decode(f.readAll());
}

} // namespace testdata
