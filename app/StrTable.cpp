#include "app/StrTable.h"

#include <QByteArray>
#include <QCoreApplication>

// The rows live in app/strings/strtable.def as STR(id, key, "text") lines;
// each use below expands them for one purpose.

namespace {

// Null until InitStrTable() has run.
const char* stab[StrTable::kCount];
const char* ktab[StrTable::kCount];

constexpr int kRowIds[] = {
#define STR(id, key, text) id,
#include "app/strings/strtable.def"
#undef STR
};

constexpr bool RowIdsRunInOrder() {
    for (int i = 0; i < StrTable::kCount; ++i) {
        if (kRowIds[i] != i) return false;
    }
    return true;
}

static_assert(sizeof(kRowIds) / sizeof(kRowIds[0]) == StrTable::kCount,
              "strtable.def must hold exactly StrTable::kCount rows");
static_assert(RowIdsRunInOrder(), "strtable.def rows must be numbered 0, 1, 2, ... in order");

}  // namespace

void StrTable::InitStrTable() {
#define STR(id, key, text) \
    stab[id] = text;       \
    ktab[id] = #key;
#include "app/strings/strtable.def"
#undef STR
}

QString StrTable::LoadStr(int id) {
    // A bad id, or a call before the table is built, must not read past or
    // through the arrays.
    if (id < 0 || id >= kCount || stab[id] == nullptr) return QString();
    QString text = QCoreApplication::translate("global", stab[id], nullptr, -1);
    text.replace(QLatin1String("\\n"), QLatin1String("\n"));
    text.replace(QLatin1String("\\t"), QLatin1String("\t"));
    return text;
}

int StrTable::LookupStrID(QString key) {
    const QByteArray wanted = key.toLocal8Bit();
    for (int id = 0; id < kCount; ++id) {
        if (ktab[id] != nullptr && qstricmp(wanted.constData(), ktab[id]) == 0) return id;
    }
    return -1;
}
