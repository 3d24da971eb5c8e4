// Qt's own standard texts (the buttons of message boxes and button boxes) looked up in
// the domain "default", so that a question asked in German has German buttons without
// shipping Qt's translation files.
#pragma once

#include <QTranslator>

class QtTextsTranslator : public QTranslator {
public:
    using QTranslator::QTranslator;

    QString translate(const char* context, const char* sourceText,
                      const char* disambiguation = nullptr, int n = -1) const override;
    // Qt skips a translator that calls itself empty.
    bool isEmpty() const override { return false; }
};
