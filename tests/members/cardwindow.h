#pragma once

#include "members/frmcandidati.h"
#include "support/testfolder.h"
#include "ui/picturebox.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QTest>

// The members archive window on a fresh program folder, driven by the names
// of its controls.
class CardWindow
{
public:
    CardWindow()
    {
        window.present();
        // The test screen is smaller than the window's design: show it whole.
        window.showNormal();
        window.resize(1016, 713);
        QApplication::setActiveWindow(&window);
    }

    template <typename T = QWidget>
    T *child(const QString &name) const
    {
        T *w = window.findChild<T *>(name);
        if (!w)
            qFatal("no control %s", qPrintable(name));
        return w;
    }

    QLineEdit *edit(const QString &name) const { return child<QLineEdit>(name); }
    void click(const QString &name) const { QTest::mouseClick(child(name), Qt::LeftButton); }
    QString position() const { return child<QLabel>(QStringLiteral("lblPosizione"))->text(); }
    QImage photo() const { return child<PictureBox>(QStringLiteral("imgFoto"))->image(); }
    QCheckBox *ricontatta() const { return child<QCheckBox>(QStringLiteral("chkRicontatta")); }

    // Fills the 25 fields; the mandatory ones all hold something.
    void fill(const QString &name)
    {
        for (const auto &f : TSchedaAnagrafica::fields())
            if (auto *e = window.findChild<QLineEdit *>(QStringLiteral("txt") + QString::fromLatin1(f.name)))
                e->setText(QString::fromLatin1(f.name).toLower());
        edit(QStringLiteral("txtCandidato"))->setText(name);
        edit(QStringLiteral("txtSesso"))->setText(QStringLiteral("F"));
        edit(QStringLiteral("txtCodFisc"))->setText(QStringLiteral("RSSMRA85T10A562S"));
    }

    TestFolder folder;
    TfrmCandidati window;
};
