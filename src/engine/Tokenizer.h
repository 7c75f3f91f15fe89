// Splits T-SQL text into tokens. Literals keep their position in the batch so a translated batch
// can be reused with other literal values (the translation cache binds them as parameters).
#pragma once

#include <QList>
#include <QString>

namespace dudodu::engine {

enum class TokKind {
    Ident,       // plain identifier or keyword (letters of any script, digits, _ # $)
    QuotedIdent, // [name] or "name"; text holds the name without delimiters
    String,      // 'text' or N'text'; text holds the value with '' undoubled
    Number,      // 12, 3.5, 1e3
    Variable,    // @name (text includes the @)
    SysVariable, // @@name (text includes the @@)
    Op,          // punctuation and operators: ( ) , . ; = <> != < > <= >= !< !> + - * / % & | ^ ~
    End
};

struct Token {
    TokKind kind = TokKind::End;
    QString text;
    int pos = 0;          // offset in the batch text
    int literalIndex = -1; // for String and Number: index among the batch's literals
};

struct TokenizedBatch {
    QList<Token> tokens; // always ends with an End token
    QStringList literals; // literal values in order (String values, Number texts)
    // The batch with every literal replaced by a placeholder of its kind; equal keys translate alike.
    QString key;
    QString error; // non-empty when the text cannot be split (e.g. an unterminated string)
};

TokenizedBatch tokenize(const QString &text);

// Case-insensitive keyword test for identifier tokens.
bool isWord(const Token &t, const char *word);

} // namespace dudodu::engine
