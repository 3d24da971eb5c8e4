#include "SourceTexts.h"

#include <QRegularExpression>
#include <QSet>
#include <vector>

namespace {

enum class Kind { Identifier, Literal, Punctuation, Other };

struct Token {
    Kind What;
    QString Text; // a literal's content, without quotes and prefix
    int Line;
};

std::vector<Token> Tokenize(const QString& source) {
    std::vector<Token> tokens;
    int line = 1;
    const qsizetype n = source.size();
    bool lineStart = true;
    for (qsizetype i = 0; i < n;) {
        const QChar c = source[i];
        if (c == u'\n') {
            ++line;
            lineStart = true;
            ++i;
            continue;
        }
        if (c.isSpace()) {
            ++i;
            continue;
        }
        if (lineStart && c == u'#') { // a preprocessor line, with its continuations
            while (i < n && !(source[i] == u'\n' && source[i - 1] != u'\\'))
                ++i;
            continue;
        }
        lineStart = false;
        if (source.mid(i, 2) == QLatin1String("//")) {
            while (i < n && source[i] != u'\n')
                ++i;
            continue;
        }
        if (source.mid(i, 2) == QLatin1String("/*")) {
            const qsizetype end = source.indexOf(QLatin1String("*/"), i + 2);
            const qsizetype stop = end < 0 ? n : end + 2;
            line += int(source.mid(i, stop - i).count(u'\n'));
            i = stop;
            continue;
        }
        if (c.isLetter() || c == u'_') {
            qsizetype j = i;
            while (j < n && (source[j].isLetterOrNumber() || source[j] == u'_'))
                ++j;
            const QString word = source.mid(i, j - i);
            // Literal prefixes: u8"", u"", U"", L"", R"()"
            if (j < n && source[j] == u'"' &&
                QSet<QString>{QStringLiteral("u8"), QStringLiteral("u"), QStringLiteral("U"),
                              QStringLiteral("L"), QStringLiteral("R"), QStringLiteral("u8R"),
                              QStringLiteral("uR")}
                    .contains(word)) {
                if (word.endsWith(u'R')) {
                    const qsizetype open = source.indexOf(u'(', j);
                    const QString delimiter = u')' + source.mid(j + 1, open - j - 1) + u'"';
                    const qsizetype end = source.indexOf(delimiter, open);
                    tokens.push_back({Kind::Literal, source.mid(open + 1, end - open - 1), line});
                    line += int(source.mid(j, end - j).count(u'\n'));
                    i = end + delimiter.size();
                    continue;
                }
                i = j; // the quote is read below
                continue;
            }
            tokens.push_back({Kind::Identifier, word, line});
            i = j;
            continue;
        }
        if (c == u'"' || c == u'\'') {
            qsizetype j = i + 1;
            QString text;
            while (j < n && source[j] != c) {
                if (source[j] == u'\\' && j + 1 < n) {
                    text += source.mid(j, 2);
                    j += 2;
                    continue;
                }
                text += source[j++];
            }
            tokens.push_back({c == u'"' ? Kind::Literal : Kind::Other, text, line});
            i = j + 1;
            continue;
        }
        if (c.isDigit()) {
            qsizetype j = i;
            while (j < n && (source[j].isLetterOrNumber() || source[j] == u'.' ||
                             (source[j] == u'\'' && j + 1 < n && source[j + 1].isLetterOrNumber())))
                ++j;
            tokens.push_back({Kind::Other, source.mid(i, j - i), line});
            i = j;
            continue;
        }
        tokens.push_back({Kind::Punctuation, QString(c), line});
        ++i;
    }
    return tokens;
}

bool IsPunctuation(const Token& token, char c) {
    return token.What == Kind::Punctuation && token.Text == QLatin1Char(c);
}

// The calls that put a text in front of the user.
const QSet<QString>& ShowingCalls() {
    static const QSet<QString> calls = {
        // the prompt interface
        QStringLiteral("Information"), QStringLiteral("Error"), QStringLiteral("Confirm"),
        QStringLiteral("AskOverwrite"), QStringLiteral("PickFolder"), QStringLiteral("PickFile"),
        QStringLiteral("AskText"),
        // Qt's boxes and pickers, and what titles and labels a window or dialog
        QStringLiteral("information"), QStringLiteral("critical"), QStringLiteral("warning"),
        QStringLiteral("question"), QStringLiteral("about"), QStringLiteral("getText"),
        QStringLiteral("getExistingDirectory"), QStringLiteral("getOpenFileName"),
        QStringLiteral("getSaveFileName"), QStringLiteral("setWindowTitle"),
        QStringLiteral("setLabelText"), QStringLiteral("setText"), QStringLiteral("setToolTip"),
        QStringLiteral("setPlaceholderText"), QStringLiteral("setTitle"),
        QStringLiteral("setOkButtonText"), QStringLiteral("setCancelButtonText"),
        // controls made with their caption
        QStringLiteral("QLabel"), QStringLiteral("QPushButton"), QStringLiteral("QCheckBox"),
        QStringLiteral("QRadioButton"), QStringLiteral("QGroupBox"), QStringLiteral("QMenu"),
        QStringLiteral("QDockWidget"), QStringLiteral("addMenu"), QStringLiteral("addToolBar"),
        QStringLiteral("addAction"), QStringLiteral("QAction")};
    return calls;
}

// Wrappers that make a QString of a literal: the call around them is what takes it.
const QSet<QString>& LiteralWrappers() {
    static const QSet<QString> wrappers = {
        QStringLiteral("QStringLiteral"),    QStringLiteral("QLatin1String"),
        QStringLiteral("QLatin1StringView"), QStringLiteral("fromLatin1"),
        QStringLiteral("fromUtf8"),          QStringLiteral("QString"),
        QStringLiteral("QByteArray")};
    return wrappers;
}

// Calls that take a literal that is no text of its own: a placeholder to fill, a name.
const QSet<QString>& NoTextCalls() {
    static const QSet<QString> calls = {QStringLiteral("replace"), QStringLiteral("arg"),
                                        QStringLiteral("setObjectName")};
    return calls;
}

const QSet<QString>& Markers() {
    static const QSet<QString> markers = {QStringLiteral("Translated"),
                                          QStringLiteral("TranslatedPlural"), QStringLiteral("N_")};
    return markers;
}

// The program's name and the " beta" after its version are never translated.
bool IsText(QString literal) {
    // Markup and placeholders alone are no text to translate.
    static const QRegularExpression markup(QStringLiteral("<[^>]*>|%\\d|%[a-z]"));
    literal.remove(markup);
    static const QRegularExpression word(QStringLiteral("[A-Za-z]{2,}"));
    static const QRegularExpression name(QStringLiteral("^(Brisko[ -]*| beta)$"));
    return word.match(literal).hasMatch() && !name.match(literal).hasMatch();
}

struct Frame {
    QString Call; // the name before "(", empty for none (a lambda's parameters, a cast)
    int Argument = 0;
};

// The name of the call whose "(" is tokens[open]: the identifier before it, or for a
// lambda's parameter list "NAME = [...](" the name it is stored in.
QString CallName(const std::vector<Token>& tokens, size_t open) {
    if (open == 0)
        return QString();
    const Token& before = tokens[open - 1];
    if (before.What == Kind::Identifier)
        return before.Text;
    if (!IsPunctuation(before, ']'))
        return QString();
    int depth = 0;
    for (size_t i = open - 1; i-- > 0;) {
        if (IsPunctuation(tokens[i], ']'))
            ++depth;
        else if (IsPunctuation(tokens[i], '[')) {
            if (depth-- == 0)
                return i >= 2 && IsPunctuation(tokens[i - 1], '=') &&
                               tokens[i - 2].What == Kind::Identifier
                           ? tokens[i - 2].Text
                           : QString();
        }
    }
    return QString();
}

// Helpers of the file whose const char* parameters are looked up with Translated(): the
// helper's name and the positions of such parameters.
QHash<QString, QSet<int>> TranslatingHelpers(const std::vector<Token>& tokens) {
    QSet<QString> looked; // identifiers handed to Translated() or TranslatedPlural()
    for (size_t i = 0; i + 2 < tokens.size(); ++i) {
        if (tokens[i].What != Kind::Identifier || !Markers().contains(tokens[i].Text) ||
            tokens[i].Text == QLatin1String("N_") || !IsPunctuation(tokens[i + 1], '('))
            continue;
        int depth = 0;
        for (size_t j = i + 1; j < tokens.size(); ++j) {
            if (IsPunctuation(tokens[j], '('))
                ++depth;
            else if (IsPunctuation(tokens[j], ')') && --depth == 0)
                break;
            else if (tokens[j].What == Kind::Identifier)
                looked << tokens[j].Text;
        }
    }
    QHash<QString, QSet<int>> helpers;
    for (size_t open = 0; open < tokens.size(); ++open) {
        if (!IsPunctuation(tokens[open], '('))
            continue;
        const QString name = CallName(tokens, open);
        if (name.isEmpty())
            continue;
        int depth = 0;
        int argument = 0;
        for (size_t j = open; j < tokens.size(); ++j) {
            const bool arrow = IsPunctuation(tokens[j], '>') && IsPunctuation(tokens[j - 1], '-');
            if (IsPunctuation(tokens[j], '(') || IsPunctuation(tokens[j], '<'))
                ++depth;
            else if (IsPunctuation(tokens[j], ')') || (IsPunctuation(tokens[j], '>') && !arrow)) {
                if (--depth == 0)
                    break;
            } else if (depth == 1 && IsPunctuation(tokens[j], ','))
                ++argument;
            else if (depth == 1 && j + 2 < tokens.size() &&
                     tokens[j].Text == QLatin1String("char") && IsPunctuation(tokens[j + 1], '*') &&
                     tokens[j + 2].What == Kind::Identifier && looked.contains(tokens[j + 2].Text))
                helpers[name] << argument;
        }
    }
    return helpers;
}

} // namespace

QList<UnmarkedText> FindUnmarkedTexts(const QString& source) {
    const std::vector<Token> tokens = Tokenize(source);
    const QHash<QString, QSet<int>> helpers = TranslatingHelpers(tokens);
    QList<UnmarkedText> found;
    std::vector<Frame> frames;
    for (size_t i = 0; i < tokens.size(); ++i) {
        const Token& token = tokens[i];
        if (IsPunctuation(token, '(')) {
            frames.push_back({CallName(tokens, i), 0});
            continue;
        }
        if (IsPunctuation(token, ')')) {
            if (!frames.empty())
                frames.pop_back();
            continue;
        }
        if (IsPunctuation(token, ',') && !frames.empty()) {
            ++frames.back().Argument;
            continue;
        }
        if (token.What != Kind::Literal || frames.empty() || !IsText(token.Text))
            continue;
        if (Markers().contains(frames.back().Call))
            continue;
        size_t taker = frames.size() - 1; // the call that takes the text
        if (LiteralWrappers().contains(frames[taker].Call) && taker > 0)
            --taker;
        if (NoTextCalls().contains(frames[taker].Call))
            continue;
        const QString& call = frames[taker].Call;
        // A helper's own definition names its parameters, it takes no literal.
        if (helpers.contains(call) && helpers[call].contains(frames[taker].Argument)) {
            found.append({token.Line, token.Text, call});
            continue;
        }
        for (size_t f = taker + 1; f-- > 0;)
            if (ShowingCalls().contains(frames[f].Call)) {
                found.append({token.Line, token.Text, frames[f].Call});
                break;
            }
    }
    return found;
}
