#pragma once

#include "base/recordfile.h"

#include <QList>
#include <QString>

#include <functional>
#include <optional>

// Every message box of the program. Notices (warning, error, information)
// carry OK and Cancel and their answer is not used; plain boxes carry OK only;
// questions carry Yes and No, and the action goes ahead unless the answer is No.
namespace Messages {

enum class Kind { Warning, Error, Information, Plain, Question };

void warning(const QString &text);
void error(const QString &text);
void information(const QString &text);
void plain(const QString &text);
// True unless the user answered No.
bool question(const QString &text);
// The same where Yes destroys something (a file, another copy's change): No
// is the default button, so that a stray Enter keeps what is there.
bool riskyQuestion(const QString &text);
// A line of text the user types in answer ("the reason"); nothing when the
// user cancels.
std::optional<QString> text(const QString &question);

enum class Overwrite { Saved, Declined, Failed };
// Saves over a record the window loaded. When another copy of the program
// changed it meanwhile, asks whether to overwrite that change; on No nothing
// is written. `replace(true)` writes only over the record as loaded,
// `replace(false)` writes whatever is stored.
Overwrite overwriteAsking(const std::function<RecordFile::Replaced(bool onlyIfUnchanged)> &replace);

struct Shown
{
    Kind kind;
    QString text;
    bool noByDefault = false;
};

// While a Recorder lives no box is shown: every message is recorded, and
// questions take the scripted answers in turn (Yes when none is left).
class Recorder
{
public:
    Recorder();
    ~Recorder();
    Recorder(const Recorder &) = delete;
    Recorder &operator=(const Recorder &) = delete;

    void answerNext(bool yes) { m_answers.append(yes); }
    // The next text asked for gets `typed`; a null string cancels.
    void typeNext(const QString &typed) { m_texts.append(typed); }
    const QList<Shown> &shown() const { return m_shown; }
    QStringList texts() const;
    void clear() { m_shown.clear(); }

private:
    friend bool record(Kind kind, const QString &text, bool noByDefault);
    friend std::optional<QString> text(const QString &question);
    QList<Shown> m_shown;
    QList<bool> m_answers;
    QList<QString> m_texts;
};

} // namespace Messages
