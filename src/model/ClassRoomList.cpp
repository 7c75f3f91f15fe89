#include "model/ClassRoomList.h"

#include <QListWidget>

namespace dudodu {

QString RentDateText(const QDate& date) {
    return date.toString(QStringLiteral("yyyy/MM/dd"));
}

QDate ReadDate(const QString& text) {
    const QString trimmed = text.trimmed();
    // The date part of the engine's "yyyy-MM-dd HH:mm:ss.zzz", or of a date sent as text.
    const QString day = trimmed.left(10);
    for (const QString& format : {QStringLiteral("yyyy-MM-dd"), QStringLiteral("yyyy/MM/dd")}) {
        const QDate date = QDate::fromString(day, format);
        if (date.isValid()) return date;
    }
    return {};
}

QString RentalConflictLine(const QString& rentDate, int rentTime, const QString& roomId) {
    return rentDate + QStringLiteral(":L") + QString::number(rentTime) + QStringLiteral(":R") + roomId;
}

bool IsRentalFree(const QStringList& conflicts, const QString& roomId, const QString& rentDate,
                  int rentTime) {
    const QString time = QString::number(rentTime);
    for (const QString& line : conflicts) {
        const qsizetype l = line.indexOf(QStringLiteral(":L"));
        const qsizetype r = line.indexOf(QStringLiteral(":R"));
        if (l < 0 || r < l) continue; // not a line of the check
        if (line.left(l) == rentDate && line.mid(l + 2, r - l - 2) == time && line.mid(r + 2, 10) == roomId)
            return false;
    }
    return true;
}

void TCLASSROOMList::SetClassRoomEditor(QListWidget* editor) {
    FEditor = editor;
    RefreshEditor();
}

void TCLASSROOMList::RefreshEditor() {
    if (!FEditor) return;
    QStringList lines = FormatSlots(QStringLiteral("\r\n")).split(QStringLiteral("\r\n"));
    if (!lines.isEmpty() && lines.last().isEmpty()) lines.removeLast(); // a final line break ends a line
    FEditor->clear();
    FEditor->addItems(lines);
}

QString TCLASSROOMList::FormatSlots(const QString& separator) const {
    if (FRoomName.isEmpty()) return {};
    static const char16_t* const kSpecial[] = {u"暑假上課", u"寒假上課", u"與教師另行約定", u"校際選課"};
    QString body;
    for (int i = 0; i < Count(); ++i) {
        const QString day = Names(i);
        const QString period = ValueFromIndex(i);
        const int weekday = day.toInt();
        if (weekday == 7)
            body += QStringLiteral("星期日第") + period + QStringLiteral("節") + separator;
        else if (weekday >= -4 && weekday <= -1)
            body += QString::fromUtf16(kSpecial[-weekday - 1]);
        else
            body += QStringLiteral("星期") + day + QStringLiteral("第") + period + QStringLiteral("節") +
                    separator;
    }
    return QStringLiteral("教室:") + FRoomName + separator + body;
}

void TCLASSROOMList::ResetRoom() {
    FLocation = 1;
    FRoomIdNo = -1;
    FRoomName.clear();
}

void TCLASSROOMList::AssignFrom(const TCLASSROOMList& other) {
    if (&other == this) return;
    FLocation = other.FLocation;
    FRoomIdNo = other.FRoomIdNo;
    FRoomName = other.FRoomName;
    QStringList::operator=(other);
}

QString SlotSignature(const TCLASSROOMList& list) {
    if (list.isEmpty()) return {};
    return list.FRoomName + list.join(QString());
}

} // namespace dudodu
