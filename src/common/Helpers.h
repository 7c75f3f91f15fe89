// Small helpers every window uses: coded combo items, offering status texts, the word-driven message
// box, messages and the default error display, and text trimming.
#pragma once

#include "common/Dialogs.h"

#include <QString>
#include <exception>

class QComboBox;

namespace dudodu {

class TQueryDataSet;

// --- Coded combo items. Each item carries a QStringList whose first string is its code.

// Replaces the combo's items by the rows of sql on dataset: the first column is the text shown, the
// second the code kept with the item, both trimmed. Raises TAppError "無法將資料載入到 TCombobox: "
// plus the server's text when the query fails (the combo is then empty). The dataset is closed on
// the way out in every case.
bool LoadComboFromSQL(QComboBox* combo, TQueryDataSet& dataset, const QString& sql);
// Releases the objects kept with the items; the items stay.
void FreeComboObjects(QComboBox* combo);
// The code kept with an item; empty when the index is out of range or the item carries none.
QString ComboItemCode(const QComboBox* combo, int index);
// Adds an item with its code.
void AddCodedItem(QComboBox* combo, const QString& text, const QString& code);

// --- Offering status codes: 1 "停開", 2 "正常", 3 "停選", 4 "統一排課", 5 "新生選課".

QString StatusToText(int status);      // unknown codes read "正常"
int TextToStatus(const QString& text); // unknown texts give 2

// --- Messages.

// A message box built from style words (any case, found as substrings): buttons from "OK",
// "CANCEL", "YES"; icons "?" question, "X" or "HAND" stop, "!" or "#" information. Returns the answer
// word: "OK", "YES", "NO" or "CANCEL".
QString AskBox(const QString& style, const QString& text, const QString& caption);
// A message box with the given buttons; returns the one pressed.
TMsgButton MsgBox(const QString& text, const QString& caption, QList<TMsgButton> buttons = {TMsgButton::Ok},
                  TMsgIcon icon = TMsgIcon::None);
// A plain message under the application's title.
void ShowMessage(const QString& text);
// The message of an error: the text of a TAppError, else what() read as UTF-8.
QString ErrorText(const std::exception& error);
// The default display of an error that ended a handler.
void ShowException(const std::exception& error);

// --- Text.

// Removes trailing, then leading blanks (the space character only).
QString TrimBlanks(const QString& text);
// Removes leading and trailing spaces and control characters.
QString TrimText(const QString& text);
// The first count characters; empty text when count is below 1.
QString LeftChars(const QString& text, int count);
// True when every character is "0".."9" (also for empty text).
bool IsDigitsOnly(const QString& text);

} // namespace dudodu
