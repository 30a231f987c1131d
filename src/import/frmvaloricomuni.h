#pragma once

#include <QDialog>
#include <QString>

#include <vector>

class QLineEdit;

// One value for every imported row, for each card field that no column of
// the sheet fills ("Socio ordinario" as the qualifica of all): a line for
// each such field, filled with the values given so far.
class TfrmValoriComuni : public QDialog
{
    Q_OBJECT
public:
    struct Value
    {
        int field;
        QString text;
    };
    TfrmValoriComuni(const std::vector<Value> &values, QWidget *parent = nullptr);

    // The values as typed, in the order given.
    std::vector<Value> values() const;

private:
    std::vector<Value> m_values;
    std::vector<QLineEdit *> m_edits;
};
