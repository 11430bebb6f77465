#include "JetTestSupport.h"

#include "platform/vb/Date.h"

using namespace jettest;

namespace {

vb::Date ymd(int y, int m, int d)
{
    return vb::Date(static_cast<double>(QDate(1899, 12, 30).daysTo(QDate(y, m, d))));
}

using RecordsetTest = DeliveredDb;

TEST_F(RecordsetTest, DeliveredEventsAreTheFiveKnownTypes)
{
    auto rs = snapshot(QStringLiteral("SELECT Events_EventName, Events_Id FROM Events ORDER BY "
                                      "Events_Id"));
    ASSERT_EQ(rs->RecordCount(), 5);
    const QStringList names{"Birthday", "Anniversary", "Holiday", "Event", "Reminder"};
    for (int i = 0; i < names.size(); ++i) {
        ASSERT_FALSE(rs->eof());
        EXPECT_EQ(rs->Field(QStringLiteral("Events_Id")), vb::Variant(std::int32_t(i + 1)));
        EXPECT_EQ(rs->Field(QStringLiteral("Events_EventName")), vb::Variant(names[i]));
        rs->MoveNext();
    }
    EXPECT_TRUE(rs->eof());
}

TEST_F(RecordsetTest, DeliveredSettingsRowHasTheFirstStartValuesAndTypes)
{
    auto rs = snapshot(QStringLiteral("SELECT * FROM Settings"));
    ASSERT_EQ(rs->RecordCount(), 1);
    const std::pair<const char *, vb::Variant> expected[] = {
        {"Settings_TimerOn", std::int16_t(1)},
        {"Settings_SoundOn", std::int16_t(1)},
        {"Settings_ShowEventsAtStart", std::int16_t(1)},
        {"Settings_DefaultEvent", std::int32_t(1)},
        {"Settings_DefaultAlertDays", std::int16_t(3)},
        {"Settings_DefaultDisplayTime", vb::Date(9.0 / 24.0)},
        {"Settings_StartInTray", std::int16_t(0)},
        {"Settings_Tab", std::int16_t(0)},
        {"Settings_FormLeft", 0.0f},
        {"Settings_FormTop", 0.0f},
        {"Settings_LastRecordViewed", std::int32_t(0)},
        {"Settings_StartDayOfWeek", std::int16_t(0)},
    };
    for (const auto &[name, value] : expected)
        EXPECT_EQ(rs->Field(QString::fromLatin1(name)), value) << name;
}

TEST_F(RecordsetTest, NamesOfTablesAndColumnsIgnoreCase)
{
    for (const char *sql : {"SELECT * FROM DAzez", "SELECT * FROM dazez WHERE dazez_Id = -1",
                            "SELECT Events_ID FROM events WHERE EVENTS_ID = 1"}) {
        SCOPED_TRACE(sql);
        EXPECT_NO_THROW(snapshot(QString::fromLatin1(sql)));
    }
    auto rs = snapshot(QStringLiteral("SELECT Events_ID FROM Events WHERE Events_Id = 2"));
    EXPECT_EQ(rs->Field(QStringLiteral("events_id")), vb::Variant(std::int32_t(2)));
}

TEST_F(RecordsetTest, TextComparisonsInWhereIgnoreCase)
{
    for (const char *name : {"birthday", "BIRTHDAY", "Birthday"}) {
        auto rs = snapshot(
            QStringLiteral("SELECT * FROM Events WHERE Events_EventName = '%1'").arg(name));
        ASSERT_EQ(rs->RecordCount(), 1) << name;
        EXPECT_EQ(rs->Field(QStringLiteral("Events_Id")), vb::Variant(std::int32_t(1)));
    }
}

TEST_F(RecordsetTest, EmptyResultHasNoCurrentRecord)
{
    for (int type : {jet::dbOpenSnapshot, jet::dbOpenDynaset}) {
        auto rs = mDb->OpenRecordset(QStringLiteral("SELECT * FROM Dazez WHERE Dazez_Id = -1"),
                                     type);
        EXPECT_EQ(rs->RecordCount(), 0);
        EXPECT_TRUE(rs->eof());
        EXPECT_TRUE(rs->bof());
        EXPECT_EQ(errorOf([&] { rs->Field(QStringLiteral("Dazez_Name")); }),
                  jet::err::NoCurrentRecord);
        EXPECT_EQ(errorOf([&] { rs->MoveFirst(); }), jet::err::NoCurrentRecord);
        EXPECT_EQ(errorOf([&] { rs->MoveNext(); }), jet::err::NoCurrentRecord);
    }
}

TEST_F(RecordsetTest, ResultWithRowsCountsAllAndStandsOnTheFirst)
{
    auto rs = snapshot(QStringLiteral("SELECT * FROM Events ORDER BY Events_Id DESC"));
    EXPECT_EQ(rs->RecordCount(), 5);
    EXPECT_FALSE(rs->eof());
    EXPECT_EQ(rs->Field(QStringLiteral("Events_Id")), vb::Variant(std::int32_t(5)));
    rs->MoveLast();
    EXPECT_EQ(rs->Field(QStringLiteral("Events_Id")), vb::Variant(std::int32_t(1)));
    rs->MoveNext();
    EXPECT_TRUE(rs->eof());
    EXPECT_EQ(errorOf([&] { rs->Field(QStringLiteral("Events_Id")); }), jet::err::NoCurrentRecord);
    EXPECT_EQ(errorOf([&] { rs->MoveNext(); }), jet::err::NoCurrentRecord);
    rs->MovePrevious();
    EXPECT_EQ(rs->Field(QStringLiteral("Events_Id")), vb::Variant(std::int32_t(1)));
    rs->MoveFirst();
    rs->MovePrevious();
    EXPECT_TRUE(rs->bof());
}

TEST_F(RecordsetTest, UnknownFieldIsItemNotFound)
{
    auto rs = dynaset(QStringLiteral("SELECT * FROM Events"));
    QString description;
    EXPECT_EQ(errorOf([&] { rs->Field(QStringLiteral("Nope")); }, &description),
              jet::err::ItemNotFound);
    EXPECT_EQ(description, QStringLiteral("Item not found in this collection."));
    rs->Edit();
    EXPECT_EQ(errorOf([&] { rs->SetField(QStringLiteral("Nope"), 1); }), jet::err::ItemNotFound);
}

TEST_F(RecordsetTest, WritingOutsideEditOrAddNewIsRefused)
{
    auto rs = dynaset(QStringLiteral("SELECT * FROM Events"));
    EXPECT_EQ(errorOf([&] { rs->SetField(QStringLiteral("Events_EventName"), "x"); }),
              jet::err::UpdateWithoutEdit);
    EXPECT_EQ(errorOf([&] { rs->Update(); }), jet::err::UpdateWithoutEdit);
    EXPECT_EQ(errorOf([&] { rs->CancelUpdate(); }), jet::err::UpdateWithoutEdit);
}

TEST_F(RecordsetTest, SnapshotsAndJoinsAreReadOnly)
{
    auto snap = snapshot(QStringLiteral("SELECT * FROM Events"));
    EXPECT_EQ(errorOf([&] { snap->Edit(); }), jet::err::ReadOnly);
    EXPECT_EQ(errorOf([&] { snap->AddNew(); }), jet::err::ReadOnly);
    auto join = dynaset(QStringLiteral("SELECT Dazez.Dazez_Name, Events.Events_EventName FROM "
                                       "Dazez, Events WHERE Dazez.Events_Id = Events.Events_Id"));
    EXPECT_EQ(errorOf([&] { join->AddNew(); }), jet::err::ReadOnly);
}

// A new entry, saved the way the editor saves it.
std::int32_t addEntry(jet::Database &db, const QString &name, const vb::Variant &date)
{
    auto rs = db.OpenRecordset(QStringLiteral("SELECT * FROM dazez WHERE dazez_Id = -1"),
                               jet::dbOpenDynaset);
    rs->AddNew();
    rs->SetField(QStringLiteral("Dazez_Name"), name);
    rs->SetField(QStringLiteral("Dazez_Date"), date);
    rs->SetField(QStringLiteral("Events_Id"), "1");
    rs->Update();
    rs->MoveFirst();
    rs->MoveLast();
    const vb::Variant id = rs->Field(QStringLiteral("Dazez_Id"));
    rs->Close();
    return *id.get<std::int32_t>();
}

TEST_F(RecordsetTest, AddNewThenUpdateMakesTheNewRowReachableWithItsId)
{
    auto rs = dynaset(QStringLiteral("SELECT * FROM dazez WHERE dazez_Id = -1"));
    rs->AddNew();
    rs->SetField(QStringLiteral("Dazez_Name"), "Ann");
    rs->SetField(QStringLiteral("Dazez_Date"), ymd(1970, 3, 5));
    rs->SetField(QStringLiteral("Dazez_AlertDays"), "7");
    rs->Update();
    EXPECT_TRUE(rs->eof()) << "the current row is the one before AddNew";
    EXPECT_EQ(rs->RecordCount(), 1);
    rs->MoveFirst();
    rs->MoveLast();
    const vb::Variant id = rs->Field(QStringLiteral("Dazez_Id"));
    ASSERT_NE(id.get<std::int32_t>(), nullptr);
    EXPECT_GT(*id.get<std::int32_t>(), 0);
    EXPECT_EQ(rs->Field(QStringLiteral("Dazez_Notes")), vb::Variant::null());

    auto back = snapshot(QStringLiteral("SELECT * FROM Dazez WHERE Dazez_Id = %1")
                             .arg(*id.get<std::int32_t>()));
    ASSERT_EQ(back->RecordCount(), 1);
    EXPECT_EQ(back->Field(QStringLiteral("Dazez_Name")), vb::Variant("Ann"));
    EXPECT_EQ(back->Field(QStringLiteral("Dazez_Date")), vb::Variant(ymd(1970, 3, 5)));
    EXPECT_EQ(back->Field(QStringLiteral("Dazez_AlertDays")), vb::Variant(std::int16_t(7)));

    // A second entry gets the next id, and a dynaset on rows appends after its last row.
    EXPECT_EQ(addEntry(*mDb, QStringLiteral("Bob"), ymd(1980, 1, 1)), *id.get<std::int32_t>() + 1);
}

TEST_F(RecordsetTest, AddNewKeepsTheCurrentRow)
{
    auto rs = dynaset(QStringLiteral("SELECT * FROM Events ORDER BY Events_Id"));
    rs->MoveNext(); // on id 2
    rs->AddNew();
    rs->SetField(QStringLiteral("Events_EventName"), "Party");
    rs->Update();
    EXPECT_EQ(rs->Field(QStringLiteral("Events_Id")), vb::Variant(std::int32_t(2)));
    EXPECT_EQ(rs->RecordCount(), 6);
    rs->MoveLast();
    EXPECT_EQ(rs->Field(QStringLiteral("Events_EventName")), vb::Variant("Party"));
    EXPECT_EQ(rs->Field(QStringLiteral("Events_Id")), vb::Variant(std::int32_t(6)));
}

TEST_F(RecordsetTest, EditUpdatePersistsAndCancelUpdateDiscards)
{
    const std::int32_t id = addEntry(*mDb, QStringLiteral("Ann"), ymd(1970, 3, 5));
    const QString sql = QStringLiteral("SELECT * FROM Dazez WHERE Dazez_Id = %1").arg(id);
    {
        auto rs = dynaset(sql);
        rs->Edit();
        rs->SetField(QStringLiteral("Dazez_Name"), "Anna");
        EXPECT_EQ(rs->Field(QStringLiteral("Dazez_Name")), vb::Variant("Anna"));
        rs->Update();
        EXPECT_EQ(rs->Field(QStringLiteral("Dazez_Name")), vb::Variant("Anna"));
        rs->Edit();
        rs->SetField(QStringLiteral("Dazez_Name"), "Annette");
        rs->CancelUpdate();
        EXPECT_EQ(rs->Field(QStringLiteral("Dazez_Name")), vb::Variant("Anna"));
    }
    mDb->Close();
    auto reopened = mWs->OpenDatabase(mPath, false, false, kConnect);
    auto rs = reopened->OpenRecordset(sql, jet::dbOpenSnapshot);
    EXPECT_EQ(rs->Field(QStringLiteral("Dazez_Name")), vb::Variant("Anna"));
}

// A pass that edits row after row, first one column, then another, then both: each row gets
// what was set on it, in the file and in the recordset when read again.
TEST_F(RecordsetTest, EditsOfOtherColumnsRowAfterRowEachWriteTheirOwn)
{
    std::vector<std::int32_t> ids;
    for (const char *name : {"Ann", "Bob", "Cid", "Dee"})
        ids.push_back(addEntry(*mDb, QString::fromLatin1(name), ymd(1970, 3, 5)));
    const QString sql = QStringLiteral("SELECT Dazez_Id, Dazez_Name, Dazez_DaysTil FROM Dazez "
                                       "ORDER BY Dazez_Id");
    {
        auto rs = dynaset(sql);
        const auto edit = [&](const char *name, const vb::Variant &daysTil) {
            rs->Edit();
            if (name)
                rs->SetField(QStringLiteral("Dazez_Name"), QString::fromLatin1(name));
            if (!daysTil.isEmpty())
                rs->SetField(QStringLiteral("Dazez_DaysTil"), daysTil);
            rs->Update();
            rs->MoveNext();
        };
        edit("Anna", vb::Variant());
        edit(nullptr, std::int16_t(7));
        edit("Cidre", std::int16_t(8));
        edit("Deedee", vb::Variant());
        rs->MoveFirst();
        EXPECT_EQ(rs->Field(QStringLiteral("Dazez_Name")), vb::Variant("Anna"));
        rs->MoveNext();
        EXPECT_EQ(rs->Field(QStringLiteral("Dazez_DaysTil")), vb::Variant(std::int16_t(7)));
        EXPECT_EQ(rs->Field(QStringLiteral("Dazez_Name")), vb::Variant("Bob"));
    }
    auto rs = snapshot(sql);
    const std::pair<const char *, int> expected[] = {{"Anna", 0}, {"Bob", 7}, {"Cidre", 8},
                                                     {"Deedee", 0}};
    for (const auto &[name, daysTil] : expected) {
        SCOPED_TRACE(name);
        ASSERT_FALSE(rs->eof());
        EXPECT_EQ(rs->Field(QStringLiteral("Dazez_Name")), vb::Variant(name));
        const vb::Variant stored = rs->Field(QStringLiteral("Dazez_DaysTil"));
        if (daysTil)
            EXPECT_EQ(stored, vb::Variant(std::int16_t(daysTil)));
        else
            EXPECT_TRUE(stored.isNull());
        rs->MoveNext();
    }
}

// Values another program stored that do not fit their column's type read back as they are
// stored; a number in a text column as the library writes it.
TEST_F(RecordsetTest, ValuesThatDoNotFitTheirColumnReadAsStored)
{
    mDb->Execute(QStringLiteral(
        "INSERT INTO Dazez (Dazez_Id, Events_Id, Dazez_Name, Dazez_Date, Dazez_DaysTil, "
        "Dazez_AlertDays, Dazez_Notes) VALUES (900, 'x7', 12.5, 'no date', 2.7, X'4142', 3)"));
    for (int type : {jet::dbOpenSnapshot, jet::dbOpenDynaset}) {
        SCOPED_TRACE(type);
        auto rs = mDb->OpenRecordset(QStringLiteral("SELECT * FROM Dazez WHERE Dazez_Id = 900"),
                                     type);
        const std::pair<const char *, vb::Variant> expected[] = {
            {"Events_Id", "x7"},          {"Dazez_Name", "12.5"},
            {"Dazez_Date", "no date"},    {"Dazez_DaysTil", std::int16_t(2)},
            {"Dazez_AlertDays", "AB"},    {"Dazez_Notes", "3"},
            {"Dazez_Time", vb::Variant::null()}};
        for (const auto &[name, value] : expected)
            EXPECT_EQ(rs->Field(QString::fromLatin1(name)), value) << name;
    }
}

// An empty text is a text, as the library gives it, also when it is all the text a snapshot holds.
TEST_F(RecordsetTest, AnEmptyTextReadsAsAnEmptyText)
{
    mDb->Execute(QStringLiteral("INSERT INTO Dazez (Dazez_Id, Dazez_Notes) VALUES (901, '')"));
    auto rs = snapshot(QStringLiteral("SELECT Dazez_Notes FROM Dazez WHERE Dazez_Id = 901"));
    const vb::Variant notes = rs->Field(QStringLiteral("Dazez_Notes"));
    ASSERT_NE(notes.get<QString>(), nullptr);
    EXPECT_TRUE(notes.get<QString>()->isEmpty());
    EXPECT_FALSE(notes.get<QString>()->isNull());
}

struct ConversionCase
{
    const char *column;
    vb::Variant input;
    int error;           // 0 when it converts
    vb::Variant stored;  // what reads back (the old value after an error)
};

void PrintTo(const ConversionCase &c, std::ostream *os)
{
    *os << c.column << " := " << ::testing::PrintToString(c.input);
}

class SetFieldConversionTest : public DeliveredDb,
                               public ::testing::WithParamInterface<ConversionCase>
{
};

TEST_P(SetFieldConversionTest, ConvertsToTheColumnsTypeOrStoresNothing)
{
    const ConversionCase c = GetParam();
    const std::int32_t id = addEntry(*mDb, QStringLiteral("Ann"), ymd(1970, 3, 5));
    {
        auto rs = dynaset(QStringLiteral("SELECT * FROM Dazez WHERE Dazez_Id = %1").arg(id));
        rs->Edit();
        rs->SetField(QStringLiteral("Dazez_DaysTil"), std::int16_t(5));
        QString description;
        EXPECT_EQ(errorOf([&] { rs->SetField(QString::fromLatin1(c.column), c.input); },
                          &description),
                  c.error);
        if (c.error) {
            EXPECT_EQ(description, QStringLiteral("Data type conversion error."));
        }
        rs->Update();
    }
    auto rs = snapshot(QStringLiteral("SELECT * FROM Dazez WHERE Dazez_Id = %1").arg(id));
    EXPECT_EQ(rs->Field(QString::fromLatin1(c.column)), c.stored);
}

INSTANTIATE_TEST_SUITE_P(
    Values, SetFieldConversionTest,
    ::testing::Values(
        ConversionCase{"Dazez_DaysTil", "12", 0, std::int16_t(12)},
        ConversionCase{"Dazez_DaysTil", "abc", jet::err::ConversionError, std::int16_t(5)},
        ConversionCase{"Dazez_DaysTil", 99999, jet::err::ConversionError, std::int16_t(5)},
        ConversionCase{"Dazez_DaysTil", vb::Variant::null(), 0, vb::Variant::null()},
        ConversionCase{"Events_Id", "3", 0, std::int32_t(3)},
        ConversionCase{"Dazez_AlertDays", 7.0, 0, std::int16_t(7)},
        ConversionCase{"Dazez_Name", std::int32_t(12), 0, "12"},
        ConversionCase{"Dazez_Date", "2003-03-05", 0, ymd(2003, 3, 5)},
        ConversionCase{"Dazez_Date", "abc", jet::err::ConversionError, ymd(1970, 3, 5)},
        ConversionCase{"Dazez_Time", vb::Date(0.75), 0, vb::Date(0.75)},
        ConversionCase{"Dazez_Notes", "", 0, ""}));

TEST_F(RecordsetTest, OrderByDateIsChronologicalAcrossYears)
{
    const vb::Date dates[] = {ymd(2001, 5, 1), ymd(1999, 12, 31), ymd(2010, 1, 15),
                              ymd(1950, 7, 4), ymd(2001, 2, 28)};
    for (const vb::Date d : dates)
        addEntry(*mDb, QStringLiteral("x"), d);
    auto rs = snapshot(QStringLiteral("SELECT * FROM Dazez ORDER BY Dazez_Date ASC"));
    std::vector<double> read;
    for (; !rs->eof(); rs->MoveNext())
        read.push_back(rs->Field(QStringLiteral("Dazez_Date")).get<vb::Date>()->serial());
    ASSERT_EQ(read.size(), std::size(dates));
    EXPECT_TRUE(std::is_sorted(read.begin(), read.end()));
}

TEST_F(RecordsetTest, ExecuteDeletes)
{
    const std::int32_t id = addEntry(*mDb, QStringLiteral("Ann"), ymd(1970, 3, 5));
    mDb->Execute(QStringLiteral("DELETE FROM Dazez WHERE Dazez_Id = %1").arg(id));
    EXPECT_EQ(snapshot(QStringLiteral("SELECT * FROM Dazez"))->RecordCount(), 0);
}

struct StatementCase
{
    const char *sql;
    int error;
    const char *description; // nullptr: not checked
};

void PrintTo(const StatementCase &c, std::ostream *os)
{
    *os << c.sql;
}

class StatementErrorTest : public DeliveredDb,
                           public ::testing::WithParamInterface<StatementCase>
{
};

TEST_P(StatementErrorTest, RaisesTheEngineError)
{
    const StatementCase c = GetParam();
    QString description;
    const QString sql = QString::fromLatin1(c.sql);
    const bool select = sql.startsWith(u"SELECT");
    EXPECT_EQ(errorOf([&] { select ? (void)snapshot(sql) : mDb->Execute(sql); }, &description),
              c.error);
    if (c.description) {
        EXPECT_EQ(description, QString::fromLatin1(c.description));
    }
}

INSTANTIATE_TEST_SUITE_P(
    Statements, StatementErrorTest,
    ::testing::Values(
        StatementCase{"SELECT * FROM Nope", jet::err::InputTableNotFound,
                      "The database engine cannot find the input table or query 'Nope'. Make "
                      "sure it exists and that its name is spelled correctly."},
        StatementCase{"SELECT Nope FROM Dazez", jet::err::TooFewParameters,
                      "Too few parameters. Expected 1."},
        StatementCase{"SELECT * FROM Dazez WHERE Dazez_Nam = 'x'", jet::err::TooFewParameters,
                      nullptr},
        StatementCase{"SELECT * FROM Dazez WHERE Dazez_Id = = 1", jet::err::SyntaxMissingOperator,
                      "Syntax error (missing operator) in query expression 'Dazez_Id = = 1'."},
        StatementCase{"SELECT * FROM Dazez ORDER BY Dazez_Name ASC DESC",
                      jet::err::SyntaxMissingOperator,
                      "Syntax error (missing operator) in query expression 'Dazez_Name ASC "
                      "DESC'."},
        StatementCase{"SELECT * FROM Dazez Dazez Dazez", jet::err::SyntaxInFrom,
                      "Syntax error in FROM clause."},
        StatementCase{"INSERT INTO Events (Events_EventName VALUES ('x')", jet::err::SyntaxError,
                      "Syntax error in INSERT INTO statement."},
        StatementCase{"DELETE FROM Dazez WHERE", jet::err::SyntaxError, nullptr},
        StatementCase{"DELETE FROM Nope WHERE Nope_Id = 1", jet::err::InputTableNotFound,
                      nullptr},
        StatementCase{"INSERT INTO Events (Events_Id, Events_EventName) VALUES (1, 'x')",
                      jet::err::DuplicateKey, nullptr}));

} // namespace
