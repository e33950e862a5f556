#include "jetsql.h"

#include "error.h"

#include <QList>

namespace {

enum class Tok { Space, Word, String, Ident, Other };

struct Token {
    Tok kind;
    QString text;
};

// Splits a statement into tokens, keeping quoted pieces whole and turning the
// Jet quoting into SQLite quoting on the way: "text" becomes 'text' and
// [name] becomes "name".
QList<Token> tokenize(const QString& sql) {
    QList<Token> out;
    const qsizetype n = sql.size();
    qsizetype i = 0;
    auto readQuoted = [&](QChar close) {
        // i is on the opening quote; returns the inner text with doubled
        // closing quotes folded; leaves i after the closing quote.
        QString inner;
        ++i;
        while (i < n) {
            const QChar c = sql[i];
            if (c == close) {
                if (close != QLatin1Char(']') && i + 1 < n && sql[i + 1] == close) {
                    inner += c;
                    i += 2;
                    continue;
                }
                ++i;
                return inner;
            }
            inner += c;
            ++i;
        }
        throw StoreError(QStringLiteral("Незатворени кавички в заявката:\n%1").arg(sql));
    };
    while (i < n) {
        const QChar c = sql[i];
        if (c.isSpace()) {
            qsizetype j = i;
            while (j < n && sql[j].isSpace())
                ++j;
            out.append({Tok::Space, sql.mid(i, j - i)});
            i = j;
        } else if (c.isLetterOrNumber() || c == QLatin1Char('_') || c == QLatin1Char(':')) {
            qsizetype j = i + 1;
            while (j < n && (sql[j].isLetterOrNumber() || sql[j] == QLatin1Char('_')))
                ++j;
            out.append({Tok::Word, sql.mid(i, j - i)});
            i = j;
        } else if (c == QLatin1Char('\'')) {
            const QString inner = readQuoted(c);
            out.append({Tok::String, inner});
        } else if (c == QLatin1Char('"')) {
            const QString inner = readQuoted(c);
            out.append({Tok::String, inner});
        } else if (c == QLatin1Char('[')) {
            const QString inner = readQuoted(QLatin1Char(']'));
            out.append({Tok::Ident, inner});
        } else if (c == QLatin1Char('`')) {
            const QString inner = readQuoted(c);
            out.append({Tok::Ident, inner});
        } else {
            out.append({Tok::Other, QString(c)});
            ++i;
        }
    }
    return out;
}

QString render(const Token& t) {
    switch (t.kind) {
    case Tok::String: {
        QString s = t.text;
        s.replace(QLatin1Char('\''), QLatin1String("''"));
        return QLatin1Char('\'') + s + QLatin1Char('\'');
    }
    case Tok::Ident:
        return sqlIdent(t.text);
    default:
        return t.text;
    }
}

bool isWord(const Token& t, const char* word) {
    return t.kind == Tok::Word && t.text.compare(QLatin1String(word), Qt::CaseInsensitive) == 0;
}

QList<Token> withoutSpace(const QList<Token>& tokens) {
    QList<Token> out;
    for (const Token& t : tokens)
        if (t.kind != Tok::Space)
            out.append(t);
    return out;
}

} // namespace

QString sqlIdent(const QString& name) {
    QString s = name;
    s.replace(QLatin1Char('"'), QLatin1String("\"\""));
    return QLatin1Char('"') + s + QLatin1Char('"');
}

QString quoteName(const QString& name) {
    if (name.trimmed().isEmpty())
        throw StoreError(QStringLiteral("Липсва име на таблица."));
    if (name.contains(QLatin1Char('[')) || name.contains(QLatin1Char(']')))
        throw StoreError(QStringLiteral("Недопустимо име на таблица: %1").arg(name));
    return QLatin1Char('[') + name + QLatin1Char(']');
}

QString translateJet(const QString& sql) {
    QList<Token> tokens = tokenize(sql);
    // "delete * from t": the engine wants no column list after delete.
    const QList<Token> words = withoutSpace(tokens);
    if (words.size() >= 3 && isWord(words[0], "delete") && words[1].kind == Tok::Other &&
        words[1].text == QLatin1String("*") && isWord(words[2], "from")) {
        for (qsizetype i = 0; i < tokens.size(); ++i) {
            if (tokens[i].kind == Tok::Other && tokens[i].text == QLatin1String("*")) {
                tokens.removeAt(i);
                break;
            }
        }
    }
    QString out;
    out.reserve(sql.size() + 8);
    for (const Token& t : tokens)
        out += render(t);
    return out;
}

SimpleSelect analyseSelect(const QString& jetSql) {
    SimpleSelect r;
    const QList<Token> tokens = tokenize(jetSql);
    qsizetype i = 0;
    auto skipSpace = [&] {
        while (i < tokens.size() && tokens[i].kind == Tok::Space)
            ++i;
    };
    skipSpace();
    if (i >= tokens.size() || !isWord(tokens[i], "select"))
        return r;
    ++i;
    // Select list up to the first "from"; anything that computes a value
    // (brackets) or merges rows (distinct) cannot be written back row by row.
    QString list;
    for (; i < tokens.size(); ++i) {
        const Token& t = tokens[i];
        if (isWord(t, "from"))
            break;
        if (isWord(t, "distinct") || isWord(t, "all") ||
            (t.kind == Tok::Other &&
             (t.text == QLatin1String("(") || t.text == QLatin1String(")"))))
            return r;
        list += render(t);
    }
    if (i >= tokens.size())
        return r;
    ++i;
    skipSpace();
    if (i >= tokens.size() || (tokens[i].kind != Tok::Word && tokens[i].kind != Tok::Ident))
        return r;
    const Token table = tokens[i];
    ++i;
    QString tail;
    bool first = true;
    for (; i < tokens.size(); ++i) {
        const Token& t = tokens[i];
        if (t.kind == Tok::Space) {
            tail += t.text;
            continue;
        }
        // A closing semicolon ends the statement; anything after it is a
        // second statement, which the whole read refuses with a message.
        if (t.kind == Tok::Other && t.text == QLatin1String(";")) {
            for (qsizetype j = i + 1; j < tokens.size(); ++j)
                if (tokens[j].kind != Tok::Space)
                    return r;
            break;
        }
        if (first && !(isWord(t, "where") || isWord(t, "order")))
            return r;
        first = false;
        // The first word after the table has already ruled out a second
        // table; these would still merge or compute rows.
        if (isWord(t, "union") || isWord(t, "join") || isWord(t, "select") || isWord(t, "group") ||
            isWord(t, "having"))
            return r;
        tail += render(t);
    }
    r.simple = true;
    r.selectList = list.trimmed();
    r.table = render(table);
    r.tableName = table.text;
    r.tail = tail;
    return r;
}
