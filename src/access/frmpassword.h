#pragma once

#include "ui/persistentwindow.h"

class QLineEdit;
class QPushButton;

// The access password: the program's first window. The right password shows
// the launcher; from here the password can also be changed.
class TfrmPassword : public PersistentWindow
{
    Q_OBJECT
public:
    explicit TfrmPassword(QWidget *parent = nullptr);

    // Shown again, emptied, when the change-password window closes.
    void showEmptied();

signals:
    // The right password was given.
    void accepted();
    // The user asked to change the password.
    void changeAsked();

public slots:
    void cmdOKClick();
    void cmdEsciClick();
    void btnCambiaPasswordClick();

protected:
    void showEvent(QShowEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    QLineEdit *txtPassword;
    QPushButton *cmdOK;
};

// Replaces the password after checking the old one.
class TfrmCambiaPassword : public PersistentWindow
{
    Q_OBJECT
public:
    explicit TfrmCambiaPassword(QWidget *parent = nullptr);

signals:
    // Closed in any way: the password window takes over again.
    void closed();

public slots:
    void cmdOKClick();
    void cmdEsciClick();

protected:
    void showEvent(QShowEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    QLineEdit *txtPasswordOld;
    QLineEdit *txtPasswordNew;
    QLineEdit *txtConferma;
};
