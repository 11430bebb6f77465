#include "JetTestSupport.h"

using namespace jettest;

namespace {

struct TextColumn
{
    const char *table;
    const char *column;
    const char *key;
};

const TextColumn kTextColumns[] = {
    {"Events", "Events_EventName", "Events_Id"},
    {"Dazez", "Dazez_Name", "Dazez_Id"},
    {"Dazez", "Dazez_Notes", "Dazez_Id"},
};

// Texts that a column without text affinity would store as numbers (or not at all as written).
const char *const kNumberLikeTexts[] = {"007", "1e3", "12345678901234567890123", "0x10", " 42 ",
                                        "-0",  ""};

using TextStorageTest = DeliveredDb;

TEST_F(TextStorageTest, EveryTextColumnGivesBackExactlyTheTextWritten)
{
    struct Written
    {
        const TextColumn *column;
        QString text;
        vb::Variant id;
    };
    std::vector<Written> written;
    for (const TextColumn &c : kTextColumns) {
        const QString column = QString::fromLatin1(c.column);
        const QString key = QString::fromLatin1(c.key);
        for (const char *text : kNumberLikeTexts) {
            auto rs = dynaset(QStringLiteral("SELECT * FROM %1 WHERE %2 = -1").arg(c.table, key));
            rs->AddNew();
            rs->SetField(column, QString::fromLatin1(text));
            rs->Update();
            rs->MoveLast();
            written.push_back({&c, QString::fromLatin1(text), rs->Field(key)});
        }
    }

    QByteArray script = "PRAGMA key='vmr';\n";
    QStringList expected;
    for (const Written &w : written) {
        const QString where = QStringLiteral(" FROM %1 WHERE %2 = %3")
                                  .arg(w.column->table, w.column->key)
                                  .arg(*w.id.get<std::int32_t>());
        const QString column = QString::fromLatin1(w.column->column);
        const QString trace = column + QStringLiteral(" \"") + w.text + u'"';
        auto rs = snapshot(QStringLiteral("SELECT %1, typeof(%1) AS kind").arg(column) + where);
        EXPECT_EQ(rs->Field(column), vb::Variant(w.text)) << trace.toStdString();
        EXPECT_EQ(rs->Field(QStringLiteral("kind")), vb::Variant("text")) << trace.toStdString();
        script += QStringLiteral("SELECT typeof(%1) || '|' || %1%2;\n").arg(column, where).toUtf8();
        expected << QStringLiteral("text|") + w.text;
    }

    const QString shell = shellProgram();
    if (shell.isEmpty())
        GTEST_SKIP() << "no command-line shell installed";
    mDb->Close();
    int code = -1;
    const QString out = runShell(shell, mPath, script, &code);
    EXPECT_EQ(code, 0);
    EXPECT_EQ(out.split(u'\n', Qt::SkipEmptyParts), expected);
}

} // namespace
