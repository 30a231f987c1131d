#pragma once

#include "app/startup.h"
#include "base/tmisc.h"
#include "base/recordfile.h"
#include "ui/messages.h"
#include "ui/modal.h"
#include "ui/workprogress.h"

#include <QApplication>
#include <QObject>
#include <QStringList>

// The question before a save over a record another copy of the program
// changed since the window read it.
inline const QString kChangedElsewhere =
    QStringLiteral("Attenzione: dopo che questa scheda è stata aperta, un'altra copia del programma ne ha salvato una "
                   "versione diversa in archivio.\n\r\n\rSi vuole sovrascrivere quella versione con i dati che "
                   "appaiono sullo schermo?");

// What the tests of windows share: the application prepared as the program
// prepares it, short waits for file locks, every message recorded instead of
// shown and every shell open noted instead of done. A test class calls
// setUpCase(), setUp() and tearDown() from its initTestCase(), init() and
// cleanup().
class WindowTest : public QObject
{
protected:
    void setUpCase()
    {
        Startup::prepareApplication(*qApp);
        RecordFile::setLockTimeout(200);
        TMisc::setOpenerForTesting([this](const QString &command, const QUrl &) { m_opened << command; });
    }
    void setUp()
    {
        m_messages = new Messages::Recorder;
        m_opened.clear();
    }
    void tearDown()
    {
        delete m_messages;
        m_messages = nullptr;
        Modal::setHandlerForTesting({});
        WorkProgress::setAnswerForTesting({});
    }

    Messages::Recorder *m_messages = nullptr;
    // What was handed to the shell to open, in order.
    QStringList m_opened;
};
