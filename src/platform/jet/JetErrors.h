#pragma once

namespace jet::err {
constexpr int TableHeld = 3008; // table opened exclusively / held by someone else
constexpr int UpdateWithoutEdit = 3020;
constexpr int NoCurrentRecord = 3021;
constexpr int DuplicateKey = 3022;
constexpr int FileNotFound = 3024;
constexpr int DiskFull = 3026;
constexpr int ReadOnly = 3027;
constexpr int InvalidPassword = 3031;
constexpr int TooFewParameters = 3061; // a column name that no table has
constexpr int SyntaxMissingOperator = 3075;
constexpr int InputTableNotFound = 3078;
constexpr int SyntaxInFrom = 3131;
constexpr int SyntaxError = 3134;   // any other syntax error of a statement
constexpr int ObjectInvalid = 3420; // closed database or recordset
constexpr int ItemNotFound = 3265;
constexpr int UnrecognizedFormat = 3343;
constexpr int ConversionError = 3421;
constexpr int DiskIo = 3040;
constexpr int InvalidArgument = 3001;    // a recordset type or workspace type the engine lacks
constexpr int NoTransaction = 3034;      // CommitTrans / Rollback without BeginTrans
constexpr int AmbiguousField = 3079;     // a column name that two tables of the FROM clause have
constexpr int UnknownInsertField = 3127; // INSERT INTO names a column the table lacks
constexpr int InvalidStatement = 3129;   // not a DELETE, INSERT, SELECT or UPDATE statement
constexpr int FieldRequired = 3314;      // Null into a column that needs a value
} // namespace jet::err
