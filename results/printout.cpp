#include "printout.h"

#include <QFont>
#include <QPrintDialog>
#include <QPrinter>
#include <QTextBlockFormat>
#include <QTextCharFormat>
#include <QTextCursor>
#include <QTextDocument>

namespace {

const QString kIndent = QStringLiteral("    ");

PrintDialogHook& dialogHook() {
    static PrintDialogHook hook;
    return hook;
}

} // namespace

QList<PrintLine> printoutLines(const PrintoutTexts& t) {
    const QColor black(0, 0, 0);
    const QColor red(255, 0, 0);
    return {
        {kIndent + QStringLiteral("Резултати на ") + t.name1 + QStringLiteral(" от ") + t.cldv1 +
             QStringLiteral(" клас"),
         black},
        {kIndent + QStringLiteral("номер в клас: ") + t.clofn1, black},
        {QString(), black},
        {kIndent + QStringLiteral("предмет: ") + t.object1, black},
        {kIndent + QStringLiteral("раздел: ") + t.theme1, black},
        {QString(), black},
        {kIndent + t.gs1, black},
        {kIndent + t.sc1, black},
        {kIndent, black},
        {kIndent + t.val1, red},
        {QString(), red},
        {QStringLiteral("  ") + QString(62, QLatin1Char('-')), black},
        {QString(), black},
        {kIndent + QStringLiteral("общо време: ") + t.timeLimit, black},
        {kIndent + QStringLiteral("време, за което ученикът е решил теста"), black},
        {kIndent + t.elapsed, black},
    };
}

QFont printoutFont() {
    QFont font(QStringLiteral("Arial"));
    font.setPointSize(14);
    return font;
}

void fillPrintout(QTextDocument& document, const QList<PrintLine>& lines) {
    document.clear();
    document.setDefaultFont(printoutFont());
    QTextCursor cursor(&document);
    bool first = true;
    for (const PrintLine& line : lines) {
        QTextCharFormat format;
        format.setFont(printoutFont());
        format.setForeground(line.colour);
        if (first)
            cursor.setBlockCharFormat(format);
        else
            cursor.insertBlock(QTextBlockFormat(), format);
        first = false;
        cursor.insertText(line.text, format);
    }
}

void setPrintDialogHook(PrintDialogHook hook) {
    dialogHook() = std::move(hook);
}

bool askPrinter(QPrinter& printer, QWidget* parent) {
    if (dialogHook())
        return dialogHook()(printer);
    QPrintDialog dialog(&printer, parent);
    return dialog.exec() == QDialog::Accepted;
}

bool printDocument(QTextDocument& document, QPrinter& printer) {
    printer.setDocName(QStringLiteral("result"));
    document.print(&printer);
    return printer.printerState() != QPrinter::Error;
}
