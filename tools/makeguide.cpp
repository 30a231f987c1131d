// Writes Guida.pdf, the user guide, from the program's own help texts: the
// title, then each topic as a heading with its paragraphs.
//
//   quorvel_guide OUTPUT.pdf

#include "base/wholefile.h"
#include "help/helptexts.h"

#include <QGuiApplication>
#include <QPageLayout>
#include <QPageSize>
#include <QPdfWriter>
#include <QTextDocument>

#include <cstdio>

namespace {

QString html(const QString &text)
{
    return text.toHtmlEscaped();
}

void section(QString &out, const QString &heading, const QStringList &paragraphs)
{
    out += QStringLiteral("<h2>") + html(heading) + QStringLiteral("</h2>");
    for (const QString &p : paragraphs)
        out += QStringLiteral("<p>") + html(p) + QStringLiteral("</p>");
}

} // namespace

int main(int argc, char **argv)
{
    QGuiApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: quorvel_guide OUTPUT.pdf\n");
        return 2;
    }
    using namespace HelpTexts;
    const Topic overview = guide();
    QString body = QStringLiteral("<h1>Guida all'utilizzo di Quorvel con Vori</h1>");
    // The complete guide's own opening and closing, around the topics of the work areas.
    section(body, overview.title, overview.paragraphs.mid(0, 2));
    for (const Topic &topic : {books(), pages(), archive(), exporting(), importing(), statistics(), fees(), backups()})
        section(body, topic.title, topic.paragraphs);
    section(body, QStringLiteral("Accesso, rete locale e chiavetta USB"), overview.paragraphs.mid(28));

    QTextDocument document;
    document.setDefaultStyleSheet(QStringLiteral("h1 { color: #1F3B57; } h2 { color: #2F6594; } p { margin-bottom: 8px; }"));
    document.setHtml(QStringLiteral("<html><body style=\"font-family: 'DejaVu Sans'; font-size: 11pt;\">") + body
                     + QStringLiteral("</body></html>"));
    WholeFile file(QString::fromLocal8Bit(argv[1]));
    if (!file.open()) {
        std::fprintf(stderr, "quorvel_guide: cannot write %s\n", argv[1]);
        return 1;
    }
    QPdfWriter pdf(file.device());
    pdf.setTitle(QStringLiteral("Guida all'utilizzo di Quorvel con Vori"));
    pdf.setCreator(QStringLiteral("Quorvel con Vori"));
    pdf.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF(20, 20, 20, 20)));
    document.print(&pdf);
    if (!file.commit()) {
        std::fprintf(stderr, "quorvel_guide: cannot write %s\n", argv[1]);
        return 1;
    }
    return 0;
}
