#pragma once
// The UI string table: 1085 numbered texts, each with a key and an English
// source text that Qt's translator maps to the user's language.

#include <QString>

class StrTable {
public:
    static constexpr int kCount = 1085;

    static void InitStrTable();
    // The display text of row id; "" for an id outside the table or before
    // InitStrTable has run.
    static QString LoadStr(int id);
    // The id whose key matches case-insensitively, or -1.
    static int LookupStrID(QString key);
};

// Registration of the compiled-in "texts" translation resource.
int qInitResources_texts();
int qCleanupResources_texts();
