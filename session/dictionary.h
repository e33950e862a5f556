#pragma once

#include <QString>

class TDataModule2;

// What the look-up shows for a word the dictionary does not have (an empty
// word included).
inline const QString kUnknownWord = QStringLiteral("Тази дума не е въведена.");

// The meaning of `word` in the program's dictionary, or kUnknownWord.
//
// The first look-up of a program run opens the dictionary database and the
// word table of the dictionary whose table is `choice` (the first dictionary
// when none is), through the data module's Dicts and Dict; Dict then stays
// open, so every later look-up searches the same table. A database or table
// that cannot be opened throws the store's error and leaves Dict closed: the
// next look-up tries the whole opening again.
//
// A word matches as a whole, letter case aside in every alphabet ("Котка"
// finds "котка"); an exact match wins over one that differs only in case.
QString lookUpWord(TDataModule2& dm, const QString& choice, const QString& word);
