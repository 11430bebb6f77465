#pragma once

#include "platform/jet/Jet.h"
#include "platform/jet/JetErrors.h"
#include "platform/vb/RuntimeError.h"
#include "platform/vb/Variant.h"

#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <functional>
#include <ostream>

namespace vb {
// Readable failure messages for values.
inline void PrintTo(const Variant &v, std::ostream *os)
{
    *os << "VarType " << static_cast<int>(v.type()) << " ";
    if (auto p = v.get<std::int16_t>())
        *os << *p;
    else if (auto p = v.get<std::int32_t>())
        *os << *p;
    else if (auto p = v.get<float>())
        *os << *p;
    else if (auto p = v.get<double>())
        *os << *p;
    else if (auto p = v.get<bool>())
        *os << (*p ? "True" : "False");
    else if (auto p = v.get<Date>())
        *os << "date " << p->serial();
    else if (auto p = v.get<QString>())
        *os << '"' << p->toStdString() << '"';
}
} // namespace vb

namespace jettest {

inline const QString kConnect = QStringLiteral("MS Access;pwd=vmr;");

// The number of the engine error that `f` raises; 0 when it raises none.
inline int errorOf(const std::function<void()> &f, QString *description = nullptr)
{
    try {
        f();
    } catch (const vb::RuntimeError &e) {
        if (description)
            *description = e.description();
        return e.number();
    }
    return 0;
}

// The library's command-line shell; empty when none is installed.
inline QString shellProgram()
{
    return QStandardPaths::findExecutable(QStringLiteral("sqlcipher"));
}

// What the shell writes to standard output for `script` run on the file at `path`, or an empty
// text when it failed.
inline QString runShell(const QString &shell, const QString &path, const QByteArray &script,
                        int *exitCode)
{
    QProcess p;
    p.start(shell, {path});
    p.write(script);
    p.closeWriteChannel();
    p.waitForFinished(30000);
    *exitCode = p.exitCode();
    return QString::fromUtf8(p.readAllStandardOutput());
}

// A private copy of the delivered database, open through a workspace of its own.
class DeliveredDb : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(mDir.isValid());
        mPath = mDir.filePath(QStringLiteral("vovuriv.mdb"));
        ASSERT_TRUE(QFile::copy(QStringLiteral(KX_DELIVERED_DB), mPath));
        QFile::setPermissions(mPath, QFile::ReadOwner | QFile::WriteOwner);
        mWs = jet::DBEngine::instance().CreateWorkspace(QString(), QStringLiteral("Admin"),
                                                        QString(), jet::dbUseJet);
        mDb = mWs->OpenDatabase(mPath, false, false, kConnect);
    }

    std::shared_ptr<jet::Recordset> snapshot(const QString &sql)
    {
        return mDb->OpenRecordset(sql, jet::dbOpenSnapshot);
    }
    std::shared_ptr<jet::Recordset> dynaset(const QString &sql)
    {
        return mDb->OpenRecordset(sql, jet::dbOpenDynaset);
    }

    QTemporaryDir mDir;
    QString mPath;
    std::shared_ptr<jet::Workspace> mWs;
    std::shared_ptr<jet::Database> mDb;
};

} // namespace jettest
