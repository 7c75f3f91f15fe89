#include "common/Helpers.h"

#include "db/DataSet.h"
#include "db/Errors.h"

#include <QComboBox>
#include <QCoreApplication>
#include <algorithm>

namespace dudodu {

namespace {

constexpr int kCodeRole = Qt::UserRole;

struct StatusName {
    int code;
    const char16_t* text;
};
constexpr StatusName kStatusNames[] = {
    {1, u"停開"}, {2, u"正常"}, {3, u"停選"}, {4, u"統一排課"}, {5, u"新生選課"},
};

// Strips trailing, then leading characters that match.
template <typename Strip> QString trimWhere(const QString& text, Strip strip) {
    qsizetype end = text.size();
    while (end > 0 && strip(text[end - 1]))
        --end;
    qsizetype begin = 0;
    while (begin < end && strip(text[begin]))
        ++begin;
    return text.mid(begin, end - begin);
}

// Closes the dataset however the scope is left.
struct CloseOnExit {
    TDataSet& dataset;
    ~CloseOnExit() { dataset.close(); }
};

} // namespace

bool LoadComboFromSQL(QComboBox* combo, TQueryDataSet& dataset, const QString& sql) {
    FreeComboObjects(combo);
    combo->clear();
    CloseOnExit closer{dataset};
    dataset.close();
    dataset.setSQL(sql);
    try {
        dataset.open();
    } catch (const std::exception& error) {
        throw TAppError(QStringLiteral("無法將資料載入到 TCombobox: ") + ErrorText(error));
    }
    for (; !dataset.eof(); dataset.next())
        AddCodedItem(combo, TrimText(dataset.field(0).asString()), TrimText(dataset.field(1).asString()));
    return true;
}

void FreeComboObjects(QComboBox* combo) {
    for (int i = 0; i < combo->count(); ++i)
        combo->setItemData(i, QVariant(), kCodeRole);
}

QString ComboItemCode(const QComboBox* combo, int index) {
    if (index < 0 || index >= combo->count()) return {};
    return combo->itemData(index, kCodeRole).toStringList().value(0);
}

void AddCodedItem(QComboBox* combo, const QString& text, const QString& code) {
    combo->addItem(text, QStringList{code});
}

QString StatusToText(int status) {
    for (const StatusName& name : kStatusNames) {
        if (name.code == status) return QString::fromUtf16(name.text);
    }
    return QStringLiteral("正常");
}

int TextToStatus(const QString& text) {
    for (const StatusName& name : kStatusNames) {
        if (text == QString::fromUtf16(name.text)) return name.code;
    }
    return 2;
}

QString AskBox(const QString& style, const QString& text, const QString& caption) {
    const QString words = style.toUpper();
    const bool ok = words.contains(QLatin1String("OK"));
    const bool cancel = words.contains(QLatin1String("CANCEL"));
    const bool yes = words.contains(QLatin1String("YES"));

    // The style values of a Windows message box add up: OK+Cancel = 1, Yes+No = 4, Yes+No+Cancel = 3.
    int buttonStyle = 0;
    if (ok && cancel) buttonStyle += 1;
    if (yes) buttonStyle += cancel ? 3 : 4;
    QList<TMsgButton> buttons;
    switch (buttonStyle) {
    case 1:
        buttons = {TMsgButton::Ok, TMsgButton::Cancel};
        break;
    case 3:
        buttons = {TMsgButton::Yes, TMsgButton::No, TMsgButton::Cancel};
        break;
    case 4:
        buttons = {TMsgButton::Yes, TMsgButton::No};
        break;
    default:
        buttons = {TMsgButton::Ok};
        break;
    }

    // Icon values add up as well: stop 0x10, question 0x20, exclamation 0x30, information 0x40.
    int iconStyle = 0;
    if (words.contains(QLatin1Char('?'))) iconStyle += 0x20;
    if (words.contains(QLatin1Char('X'))) iconStyle += 0x10;
    if (words.contains(QLatin1String("HAND"))) iconStyle += 0x10;
    if (words.contains(QLatin1Char('!'))) iconStyle += 0x40;
    if (words.contains(QLatin1Char('#'))) iconStyle += 0x40;
    TMsgIcon icon = TMsgIcon::None;
    switch (iconStyle) {
    case 0x10:
        icon = TMsgIcon::Stop;
        break;
    case 0x20:
        icon = TMsgIcon::Question;
        break;
    case 0x30:
        icon = TMsgIcon::Warning;
        break;
    case 0x40:
        icon = TMsgIcon::Information;
        break;
    default:
        break;
    }
    return AnswerWord(MsgBox(text, caption, buttons, icon));
}

TMsgButton MsgBox(const QString& text, const QString& caption, QList<TMsgButton> buttons, TMsgIcon icon) {
    return Dialogs().message({text, caption, std::move(buttons), icon});
}

void ShowMessage(const QString& text) {
    MsgBox(text, QCoreApplication::applicationName());
}

QString ErrorText(const std::exception& error) {
    const auto* appError = dynamic_cast<const TAppError*>(&error);
    return appError ? appError->message() : QString::fromUtf8(error.what());
}

void ShowException(const std::exception& error) {
    MsgBox(ErrorText(error), QCoreApplication::applicationName(), {TMsgButton::Ok}, TMsgIcon::Stop);
}

QString TrimBlanks(const QString& text) {
    return trimWhere(text, [](QChar c) { return c == u' '; });
}

QString TrimText(const QString& text) {
    return trimWhere(text, [](QChar c) { return c.unicode() <= u' '; });
}

QString LeftChars(const QString& text, int count) {
    return count < 1 ? QString() : text.left(count);
}

bool IsDigitsOnly(const QString& text) {
    return std::all_of(text.begin(), text.end(), [](QChar c) { return c >= u'0' && c <= u'9'; });
}

} // namespace dudodu
