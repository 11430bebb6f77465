#include "JetTestSupport.h"

#include <QCollator>
#include <QLocale>

#include <algorithm>

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

// Texts that a column without text affinity would store as numbers (or not at all as written),
// and characters that a UTF-8 round trip can lose: a leading byte-order mark, no-break space,
// line and paragraph separators, a character beyond 16 bits.
const QString kStoredTexts[] = {
    QStringLiteral("007"),  QStringLiteral("1e3"), QStringLiteral("12345678901234567890123"),
    QStringLiteral("0x10"), QStringLiteral(" 42 "), QStringLiteral("-0"), QString(),
    QStringLiteral(u"\uFEFFmark first"), QStringLiteral(u"no\u00A0break"),
    QStringLiteral(u"line\u2028paragraph\u2029"), QStringLiteral(u"\U0001F600 smile"),
};

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
        for (const QString &text : kStoredTexts) {
            auto rs = dynaset(QStringLiteral("SELECT * FROM %1 WHERE %2 = -1").arg(c.table, key));
            rs->AddNew();
            rs->SetField(column, text);
            rs->Update();
            rs->MoveLast();
            written.push_back({&c, text, rs->Field(key)});
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

// ---- comparing and ordering text ----

// A copy of the delivered database opened while `locale` is the user's (the order of text is
// taken from the locale when the file is opened).
class LocaleDb : public DeliveredDb
{
protected:
    void SetUp() override { DeliveredDb::SetUp(); }
    void openIn(const QLocale &locale)
    {
        QLocale::setDefault(locale);
        mDb->Close();
        mDb = mWs->OpenDatabase(mPath, false, false, kConnect);
    }
    void TearDown() override { QLocale::setDefault(mBefore); }

    void addNames(const QStringList &names)
    {
        for (const QString &name : names)
            mDb->Execute(QStringLiteral("INSERT INTO Dazez (Dazez_Name) VALUES ('%1')")
                             .arg(QString(name).replace(u'\'', QStringLiteral("''"))));
    }
    QStringList namesBy(const QString &orderBy)
    {
        QStringList names;
        for (auto rs = snapshot(QStringLiteral("SELECT Dazez_Name FROM Dazez ") + orderBy);
             !rs->eof(); rs->MoveNext())
            names << *rs->Field(QStringLiteral("Dazez_Name")).get<QString>();
        return names;
    }

    const QLocale mBefore;
};

struct LookupCase
{
    const char *table;
    const char *column;
    const char *stored; // nullptr: the delivered row
    const char *sought;
    bool found;
};

TEST_F(LocaleDb, LookupsIgnoreTheCaseOfEveryLetterButNotItsAccents)
{
    const LookupCase cases[] = {
        {"Dazez", "Dazez_Name", "Événement", "événement", true},
        {"Dazez", "Dazez_Name", "Événement", "ÉVÉNEMENT", true},
        {"Dazez", "Dazez_Name", "Événement", "evenement", false},
        {"Dazez", "Dazez_Name", "Ωμέγα", "ΩΜΈΓΑ", true},
        {"Dazez", "Dazez_Name", "Дмитрий", "дмитрий", true},
        {"Dazez", "Dazez_Name", "Łukasz", "łUKASZ", true},
        {"Dazez", "Dazez_Name", "Zoë", "ZOË", true},
        {"Dazez", "Dazez_Name", "Zoë", "Zoe", false},
        {"Dazez", "Dazez_Notes", "Straße", "STRAßE", true},
        {"Events", "Events_EventName", "Fête", "fÊTE", true},
        {"Events", "Events_EventName", nullptr, "birthday", true},
    };
    for (const QLocale &locale : {QLocale::c(), QLocale(QLocale::English, QLocale::UnitedStates),
                                  QLocale(QLocale::Turkish, QLocale::Turkey)}) {
        openIn(locale);
        for (const LookupCase &c : cases) {
            SCOPED_TRACE(locale.name().toStdString() + ": " + c.sought);
            mDb->Execute(QStringLiteral("DELETE FROM Dazez"));
            mDb->Execute(QStringLiteral("DELETE FROM Events WHERE Events_Id > 5"));
            if (c.stored)
                mDb->Execute(QStringLiteral("INSERT INTO %1 (%2) VALUES ('%3')")
                                 .arg(c.table, c.column, QString::fromUtf8(c.stored)));
            auto rs = snapshot(QStringLiteral("SELECT * FROM %1 WHERE %2 = '%3'")
                                   .arg(c.table, c.column, QString::fromUtf8(c.sought)));
            EXPECT_EQ(rs->RecordCount(), c.found ? 1 : 0);
        }
    }
}

TEST_F(LocaleDb, NamesSortWithoutRegardToCaseAndAccentedLettersBesideTheirBase)
{
    addNames({"Edgar", "Émile", "Fritz", "zoe", "Zach"});
    const QStringList ascending{"Edgar", "Émile", "Fritz", "Zach", "zoe"};
    QStringList descending = ascending;
    std::reverse(descending.begin(), descending.end());
    // The C locale names no language: the neutral order, not the order of character codes.
    for (const QLocale &locale : {QLocale(QLocale::English, QLocale::UnitedStates), QLocale::c()}) {
        SCOPED_TRACE(locale.name().toStdString());
        openIn(locale);
        EXPECT_EQ(namesBy(QStringLiteral("ORDER BY Dazez_Name")), ascending);
        EXPECT_EQ(namesBy(QStringLiteral("ORDER BY Dazez_Name ASC")), ascending);
        EXPECT_EQ(namesBy(QStringLiteral("ORDER BY Dazez_Name DESC")), descending);
    }
}

// ASCII text is compared by a quicker way where the language allows it; whichever way a pair
// takes, the order must be the language's own (Danish sorts "Aa" after "Z", Czech "Ch" after "H",
// Lithuanian "Y" beside "I").
TEST_F(LocaleDb, OrderIsTheLanguagesOwnForAsciiAndOtherText)
{
    const QStringList names{"Aaron", "Abel",  "Ann",    "Anne Marie", "Anne-Marie", "Åse",
                            "Cecil", "Chris", "Čapek",  "D'Arcy",     "Ed",         "Émile",
                            "Hans",  "Ivan",  "Jon",    "O.J.",       "Ödön",       "Øyvind",
                            "Yves",  "Zora",  "zz top", "2Pac",       "_x",         "[a]"};
    addNames(names);
    for (const char *name : {"en_US", "de_DE", "da_DK", "cs_CZ", "lt_LT", "sv_SE", "hu_HU"}) {
        SCOPED_TRACE(name);
        const QLocale locale{QString::fromLatin1(name)};
        openIn(locale);
        QCollator collator(locale);
        collator.setCaseSensitivity(Qt::CaseInsensitive);
        QStringList expected = names;
        std::sort(expected.begin(), expected.end(),
                  [&](const QString &a, const QString &b) { return collator.compare(a, b) < 0; });
        EXPECT_EQ(namesBy(QStringLiteral("ORDER BY Dazez_Name")), expected);
    }
}

TEST_F(LocaleDb, TheFileStaysWholeForTheShell)
{
    openIn(QLocale(QLocale::English, QLocale::UnitedStates));
    addNames({"Émile", "Zach", "Ωμέγα"});
    const QString shell = shellProgram();
    if (shell.isEmpty())
        GTEST_SKIP() << "no command-line shell installed";
    mDb->Close();
    int code = -1;
    const QString out = runShell(shell, mPath,
                                 "PRAGMA key='vmr';\nPRAGMA integrity_check;\n"
                                 "SELECT Dazez_Name FROM Dazez WHERE Dazez_Name = 'zach';\n",
                                 &code);
    EXPECT_EQ(code, 0);
    EXPECT_EQ(out, QStringLiteral("ok\nZach\n"));
}

} // namespace
