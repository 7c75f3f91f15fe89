#include "engine/Tokenizer.h"

namespace dudodu::engine {

namespace {

bool isIdentStart(QChar c) {
    return c.isLetter() || c == u'_' || c == u'#' || c.unicode() > 0x7f;
}

bool isIdentPart(QChar c) {
    return isIdentStart(c) || c.isDigit() || c == u'$';
}

} // namespace

bool isWord(const Token &t, const char *word) {
    return t.kind == TokKind::Ident && t.text.compare(QLatin1String(word), Qt::CaseInsensitive) == 0;
}

TokenizedBatch tokenize(const QString &text) {
    TokenizedBatch out;
    const int n = text.size();
    int i = 0;
    out.key.reserve(n);
    auto fail = [&](const QString &msg) {
        out.error = msg;
        out.tokens.clear();
        out.tokens.append(Token{TokKind::End, {}, n, -1});
        return out;
    };
    while (i < n) {
        const QChar c = text[i];
        if (c.isSpace()) {
            ++i;
            continue;
        }
        if (c == u'-' && i + 1 < n && text[i + 1] == u'-') {
            while (i < n && text[i] != u'\n')
                ++i;
            continue;
        }
        if (c == u'/' && i + 1 < n && text[i + 1] == u'*') {
            int depth = 1;
            i += 2;
            while (i < n && depth > 0) {
                if (text[i] == u'/' && i + 1 < n && text[i + 1] == u'*') {
                    ++depth;
                    i += 2;
                } else if (text[i] == u'*' && i + 1 < n && text[i + 1] == u'/') {
                    --depth;
                    i += 2;
                } else {
                    ++i;
                }
            }
            if (depth > 0)
                return fail(QStringLiteral("Missing end comment mark '*/'."));
            continue;
        }
        Token t;
        t.pos = i;
        const bool national = (c == u'N' || c == u'n') && i + 1 < n && text[i + 1] == u'\'';
        if (c == u'\'' || national) {
            int j = i + (national ? 2 : 1);
            QString value;
            bool closed = false;
            while (j < n) {
                if (text[j] == u'\'') {
                    if (j + 1 < n && text[j + 1] == u'\'') {
                        value += u'\'';
                        j += 2;
                        continue;
                    }
                    closed = true;
                    ++j;
                    break;
                }
                value += text[j++];
            }
            if (!closed)
                return fail(QStringLiteral("Unclosed quotation mark after the character string '%1'.").arg(value));
            t.kind = TokKind::String;
            t.text = value;
            t.literalIndex = int(out.literals.size());
            out.literals.append(value);
            out.key += QStringLiteral(" ?s");
            i = j;
        } else if (c == u'[') {
            int j = i + 1;
            QString name;
            bool closed = false;
            while (j < n) {
                if (text[j] == u']') {
                    if (j + 1 < n && text[j + 1] == u']') {
                        name += u']';
                        j += 2;
                        continue;
                    }
                    closed = true;
                    ++j;
                    break;
                }
                name += text[j++];
            }
            if (!closed)
                return fail(QStringLiteral("Unclosed quotation mark after the identifier '[%1'.").arg(name));
            t.kind = TokKind::QuotedIdent;
            t.text = name;
            out.key += QStringLiteral(" [") + name + u']';
            i = j;
        } else if (c == u'"') {
            int j = text.indexOf(u'"', i + 1);
            if (j < 0)
                return fail(QStringLiteral("Unclosed quotation mark after the identifier '%1'.").arg(text.mid(i)));
            t.kind = TokKind::QuotedIdent;
            t.text = text.mid(i + 1, j - i - 1);
            out.key += QStringLiteral(" [") + t.text + u']';
            i = j + 1;
        } else if (c.isDigit() || (c == u'.' && i + 1 < n && text[i + 1].isDigit())) {
            int j = i;
            while (j < n && text[j].isDigit())
                ++j;
            if (j < n && text[j] == u'.') {
                ++j;
                while (j < n && text[j].isDigit())
                    ++j;
            }
            if (j < n && (text[j] == u'e' || text[j] == u'E')) {
                int k = j + 1;
                if (k < n && (text[k] == u'+' || text[k] == u'-'))
                    ++k;
                if (k < n && text[k].isDigit()) {
                    j = k;
                    while (j < n && text[j].isDigit())
                        ++j;
                }
            }
            t.kind = TokKind::Number;
            t.text = text.mid(i, j - i);
            t.literalIndex = int(out.literals.size());
            out.literals.append(t.text);
            out.key += QStringLiteral(" ?n");
            i = j;
        } else if (c == u'@') {
            int j = i + 1;
            const bool sys = j < n && text[j] == u'@';
            if (sys)
                ++j;
            while (j < n && isIdentPart(text[j]))
                ++j;
            t.kind = sys ? TokKind::SysVariable : TokKind::Variable;
            t.text = text.mid(i, j - i);
            if (t.text.size() == (sys ? 2 : 1))
                return fail(QStringLiteral("Incorrect syntax near '@'."));
            out.key += u' ' + t.text.toLower();
            i = j;
        } else if (isIdentStart(c)) {
            int j = i + 1;
            while (j < n && isIdentPart(text[j]))
                ++j;
            t.kind = TokKind::Ident;
            t.text = text.mid(i, j - i);
            out.key += u' ' + t.text;
            i = j;
        } else {
            static const char *const twoChar[] = {"<>", "!=", "<=", ">=", "!<", "!>"};
            t.kind = TokKind::Op;
            t.text = QString(c);
            if (i + 1 < n) {
                const QString two = text.mid(i, 2);
                for (const char *op : twoChar)
                    if (two == QLatin1String(op))
                        t.text = two;
            }
            static const QString single = QStringLiteral("(),.;=<>+-*/%&|^~");
            if (t.text.size() == 1 && !single.contains(c))
                return fail(QStringLiteral("Incorrect syntax near '%1'.").arg(c));
            out.key += u' ' + t.text;
            i += int(t.text.size());
        }
        out.tokens.append(t);
    }
    out.tokens.append(Token{TokKind::End, {}, n, -1});
    return out;
}

} // namespace dudodu::engine
