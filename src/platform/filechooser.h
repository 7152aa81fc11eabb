#pragma once

#include <QString>

// File and folder dialogs. An empty result means the user cancelled.
class FileChooser
{
public:
    virtual ~FileChooser() = default;
    // `filter` is in Qt's form: "Текстовые файлы (*.txt);;Все файлы (*)".
    virtual QString openFile(const QString &title, const QString &filter, const QString &folder) = 0;
    virtual QString saveFile(const QString &title, const QString &filter, const QString &suggested) = 0;
    virtual QString folder(const QString &title, const QString &start) = 0;
};

class QtFileChooser : public FileChooser
{
public:
    QString openFile(const QString &title, const QString &filter, const QString &folder) override;
    QString saveFile(const QString &title, const QString &filter, const QString &suggested) override;
    QString folder(const QString &title, const QString &start) override;
};
