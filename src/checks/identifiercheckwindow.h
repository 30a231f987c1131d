#pragma once

#include <QColor>
#include <QDialog>

class QLineEdit;
class QPushButton;

// The common frame of the fiscal code and VAT number windows: a banner, a
// prompt, one code field with Controlla beside it, and Chiudi. A verdict
// closes the window; a length error keeps it open for another try.
class IdentifierCheckWindow : public QDialog
{
    Q_OBJECT
public:
    struct Design
    {
        QString windowName;
        QString caption;
        int width;
        QColor containerFill;
        QColor containerBorder;
        QString logo;
        QString prompt;
        QString fieldName;
        int maxLength;
    };

    QLineEdit *field() const { return m_field; }

public slots:
    virtual void btnControllaClick() = 0;
    void btnChiudiClick();

protected:
    IdentifierCheckWindow(QWidget *parent, const Design &design);
    void showEvent(QShowEvent *event) override;

    // Shows a verdict and closes the window.
    void verdict(bool valid, const QString &message);
    // Shows the length warning and gives the focus back to the field.
    void lengthWarning(const QString &message);

    QPushButton *btnControlla = nullptr;

private:
    QLineEdit *m_field = nullptr;
};
