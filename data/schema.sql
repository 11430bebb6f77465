-- The tables of the delivered database. Text columns compare without regard to case; dates are
-- stored as text "yyyy-MM-dd HH:mm:ss" (a bare time on 1899-12-30), which sorts chronologically.
-- Every text column's declared type must contain TEXT, CHAR or CLOB: any other type name lets the
-- library store text that looks like a number as that number ("007" would come back as 7).
-- The program gives NOCASE its own meaning when it opens the file (every letter without regard to
-- case, in the order of the user's language); no index may cover a text column, since an index
-- ordered by the library's own NOCASE would disagree with it.

CREATE TABLE Events (
    Events_Id        INTEGER PRIMARY KEY AUTOINCREMENT,
    Events_EventName TEXT COLLATE NOCASE
);

CREATE TABLE Dazez (
    Dazez_Id        INTEGER PRIMARY KEY AUTOINCREMENT,
    Events_Id       INTEGER,
    Dazez_Name      TEXT COLLATE NOCASE,
    Dazez_Date      DATETIME,
    Dazez_Time      DATETIME,
    Dazez_AlertDays SMALLINT,
    Dazez_Notes     LONGTEXT COLLATE NOCASE,
    Dazez_DaysTil   SMALLINT
);

CREATE TABLE Settings (
    Settings_Id                 INTEGER PRIMARY KEY,
    Settings_DefaultAlertDays   SMALLINT,
    Settings_DefaultEvent       INTEGER,
    Settings_FormLeft           SINGLE,
    Settings_FormTop            SINGLE,
    Settings_LastRecordViewed   INTEGER,
    Settings_ShowEventsAtStart  SMALLINT,
    Settings_StartInTray        SMALLINT,
    Settings_Tab                SMALLINT,
    Settings_DefaultDisplayTime DATETIME,
    Settings_TimerOn            SMALLINT,
    Settings_SoundOn            SMALLINT,
    Settings_StartDayOfWeek     SMALLINT
);
