#include "ui/messages.h"

#include <QApplication>
#include <QInputDialog>
#include <QLineEdit>
#include <QMessageBox>

namespace Messages {

bool record(Kind kind, const QString &text, bool noByDefault);

namespace {

Recorder *g_recorder = nullptr;

const QString kProduct = QStringLiteral("Quorvel con Vori");

QString titleOf(Kind kind)
{
    switch (kind) {
    case Kind::Warning: return QStringLiteral("Attenzione");
    case Kind::Error: return QStringLiteral("Errore");
    case Kind::Information: return QStringLiteral("Informazione");
    case Kind::Question: return QStringLiteral("Conferma");
    case Kind::Plain: break;
    }
    return kProduct;
}

QMessageBox::Icon iconOf(Kind kind)
{
    switch (kind) {
    case Kind::Warning: return QMessageBox::Warning;
    case Kind::Error: return QMessageBox::Critical;
    case Kind::Information: return QMessageBox::Information;
    case Kind::Question: return QMessageBox::Question;
    case Kind::Plain: break;
    }
    return QMessageBox::NoIcon;
}

QMessageBox::StandardButtons buttonsOf(Kind kind)
{
    switch (kind) {
    case Kind::Plain: return QMessageBox::Ok;
    case Kind::Question: return QMessageBox::Yes | QMessageBox::No;
    default: return QMessageBox::Ok | QMessageBox::Cancel;
    }
}

// Returns whether the answer was anything but No.
bool show(Kind kind, const QString &text, bool noByDefault = false)
{
    if (g_recorder)
        return record(kind, text, noByDefault);
    QMessageBox box(iconOf(kind), titleOf(kind), text, buttonsOf(kind), QApplication::activeWindow());
    box.setDefaultButton(kind != Kind::Question ? QMessageBox::Ok : noByDefault ? QMessageBox::No : QMessageBox::Yes);
    return box.exec() != QMessageBox::No;
}

} // namespace

bool record(Kind kind, const QString &text, bool noByDefault)
{
    g_recorder->m_shown.append({kind, text, noByDefault});
    if (kind != Kind::Question || g_recorder->m_answers.isEmpty())
        return true;
    return g_recorder->m_answers.takeFirst();
}

std::optional<QString> text(const QString &question)
{
    if (g_recorder) {
        g_recorder->m_shown.append({Kind::Question, question, false});
        const QString typed = g_recorder->m_texts.isEmpty() ? QString() : g_recorder->m_texts.takeFirst();
        return typed.isNull() ? std::nullopt : std::optional<QString>(typed);
    }
    bool ok = false;
    const QString typed = QInputDialog::getText(QApplication::activeWindow(), titleOf(Kind::Question), question,
                                                QLineEdit::Normal, QString(), &ok);
    return ok ? std::optional<QString>(typed) : std::nullopt;
}

Recorder::Recorder()
{
    g_recorder = this;
}

Recorder::~Recorder()
{
    g_recorder = nullptr;
}

QStringList Recorder::texts() const
{
    QStringList list;
    for (const Shown &s : m_shown)
        list.append(s.text);
    return list;
}

void warning(const QString &text) { show(Kind::Warning, text); }
void error(const QString &text) { show(Kind::Error, text); }
void information(const QString &text) { show(Kind::Information, text); }
void plain(const QString &text) { show(Kind::Plain, text); }
bool question(const QString &text) { return show(Kind::Question, text); }
bool riskyQuestion(const QString &text) { return show(Kind::Question, text, true); }

Overwrite overwriteAsking(const std::function<RecordFile::Replaced(bool onlyIfUnchanged)> &replace)
{
    RecordFile::Replaced result = replace(true);
    if (result == RecordFile::Replaced::Changed) {
        if (!riskyQuestion(QStringLiteral("Attenzione: dopo che questa scheda è stata aperta, un'altra copia del programma "
                                     "ne ha salvato una versione diversa in archivio.\n\r\n\rSi vuole sovrascrivere "
                                     "quella versione con i dati che appaiono sullo schermo?")))
            return Overwrite::Declined;
        result = replace(false);
    }
    return result == RecordFile::Replaced::Yes ? Overwrite::Saved : Overwrite::Failed;
}

} // namespace Messages
