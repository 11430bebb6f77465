#pragma once

namespace jet::err {
constexpr int TableHeld = 3008;        // table opened exclusively / held by someone else
constexpr int UpdateWithoutEdit = 3020;
constexpr int NoCurrentRecord = 3021;
constexpr int DuplicateKey = 3022;
constexpr int FileNotFound = 3024;
constexpr int ReadOnly = 3027;
constexpr int InvalidPassword = 3031;
constexpr int TooFewParameters = 3061; // a column name that no table has
constexpr int SyntaxMissingOperator = 3075;
constexpr int InputTableNotFound = 3078;
constexpr int SyntaxInFrom = 3131;
constexpr int SyntaxError = 3134;      // any other syntax error of a statement
constexpr int ObjectInvalid = 3420;    // closed database or recordset
constexpr int ItemNotFound = 3265;
constexpr int UnrecognizedFormat = 3343;
constexpr int ConversionError = 3421;
constexpr int DiskIo = 3040;
} // namespace jet::err
