#pragma once

#include <QByteArray>
#include <QString>
#include <QTemporaryDir>

// A fresh, empty program folder for one test; the program's files go there.
class TestFolder
{
public:
    TestFolder();
    ~TestFolder();
    TestFolder(const TestFolder &) = delete;
    TestFolder &operator=(const TestFolder &) = delete;

    QString path() const { return m_dir.path(); }
    QString file(const QString &name) const { return m_dir.filePath(name); }

    QByteArray read(const QString &name) const;
    // Makes the folders of the name as needed.
    void write(const QString &name, const QByteArray &bytes) const;

private:
    QTemporaryDir m_dir;
};
