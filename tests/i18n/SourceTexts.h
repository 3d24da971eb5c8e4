// Finds texts in C++ source that reach the user without being marked for translation:
// literals handed to a question, a message box, a picker or a window title, and literals
// handed to a helper of the file that looks its const char* parameter up with
// Translated() (such a literal must be marked N_() to reach the catalogue).
#pragma once

#include <QList>
#include <QString>

struct UnmarkedText {
    int Line;
    QString Text;
    QString Call; // the showing call or the helper it was handed to
};

QList<UnmarkedText> FindUnmarkedTexts(const QString& source);
