#pragma once

#include <QString>

// File and folder dialogs. An empty result means the user cancelled.
class FileChooser
{
public:
    virtual ~FileChooser() = default;
    // `filter` is in Qt's form: "Текстовые файлы (*.txt);;Все файлы (*)"; `selectedFilter`
    // is the entry shown first.
    virtual QString openFile(const QString &title, const QString &filter, const QString &folder,
                             const QString &selectedFilter = {}) = 0;
    virtual QString saveFile(const QString &title, const QString &filter, const QString &suggested,
                             const QString &selectedFilter = {}) = 0;
    virtual QString folder(const QString &title, const QString &start) = 0;
};

class QtFileChooser : public FileChooser
{
public:
    QString openFile(const QString &title, const QString &filter, const QString &folder,
                     const QString &selectedFilter = {}) override;
    QString saveFile(const QString &title, const QString &filter, const QString &suggested,
                     const QString &selectedFilter = {}) override;
    QString folder(const QString &title, const QString &start) override;
};
