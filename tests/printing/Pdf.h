// Reading back what the printer wrote: the tests print to a PDF file and ask poppler's
// tools for its text, its words with their boxes, its fonts and its images.
#pragma once

#include "platform/forms/Printer.h"
#include "platform/forms/PrinterDialog.h"

#include <QProcess>
#include <QRegularExpression>
#include <QString>
#include <QStringList>

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace teste {

inline std::string Executa(const QString& programa, const QStringList& argumentos)
{
    QProcess p;
    p.start(programa, argumentos);
    if (!p.waitForFinished(60000) || p.exitCode() != 0) {
        ADD_FAILURE() << programa.toStdString() << " failed: " << p.readAllStandardError().toStdString();
        return {};
    }
    return QString::fromUtf8(p.readAllStandardOutput()).toStdString();
}

// The text of every page, in reading order, laid out as on paper; pages end with a form feed.
inline std::string TextoPdf(const std::string& arquivo)
{
    return Executa("pdftotext", {"-layout", QString::fromStdString(arquivo), "-"});
}

inline std::vector<std::string> PaginasPdf(const std::string& arquivo)
{
    std::vector<std::string> paginas;
    for (const QString& p : QString::fromStdString(TextoPdf(arquivo)).split(QChar('\f')))
        if (!p.trimmed().isEmpty()) paginas.push_back(p.toStdString());
    return paginas;
}

// The document's title, as a PDF printer or a print queue shows the job's name.
inline std::string TituloPdf(const std::string& arquivo)
{
    const QString info = QString::fromStdString(Executa("pdfinfo", {QString::fromStdString(arquivo)}));
    const auto m = QRegularExpression(R"(^Title:[ \t]*(.*)$)", QRegularExpression::MultilineOption).match(info);
    return m.hasMatch() ? m.captured(1).trimmed().toStdString() : std::string();
}

// A text with its runs of blanks made one blank, as the layout of a page's text reads it.
inline std::string Simplifica(const std::string& texto)
{
    return QString::fromStdString(texto).simplified().toStdString();
}

// The first line of the text that begins with `inicio`, without the layout's blanks around it.
inline std::string LinhaQueComeca(const std::string& texto, const std::string& inicio)
{
    for (const QString& l : QString::fromStdString(texto).split('\n')) {
        const QString t = l.trimmed();
        if (t.startsWith(QString::fromStdString(inicio))) return t.toStdString();
    }
    return {};
}

struct Palavra {
    int pagina = 0;          // from 1
    double x = 0, y = 0;     // top left, points from the paper's top left
    double xMax = 0, yMax = 0;
    std::string texto;
};

inline std::vector<Palavra> PalavrasPdf(const std::string& arquivo)
{
    const QString html = QString::fromStdString(Executa("pdftotext", {"-bbox", QString::fromStdString(arquivo), "-"}));
    std::vector<Palavra> palavras;
    static const QRegularExpression re(
        R"re(<page[^>]*>|<word xMin="([\d.]+)" yMin="([\d.]+)" xMax="([\d.]+)" yMax="([\d.]+)">([^<]*)</word>)re");
    int pagina = 0;
    for (auto it = re.globalMatch(html); it.hasNext();) {
        const auto m = it.next();
        if (m.captured(0).startsWith("<page")) {
            ++pagina;
            continue;
        }
        QString texto = m.captured(5);
        texto.replace("&amp;", "&").replace("&lt;", "<").replace("&gt;", ">").replace("&quot;", "\"");
        palavras.push_back({pagina, m.captured(1).toDouble(), m.captured(2).toDouble(), m.captured(3).toDouble(),
                            m.captured(4).toDouble(), texto.toStdString()});
    }
    return palavras;
}

// The words on a page, optionally only those equal to a text.
inline std::vector<Palavra> Palavras(const std::vector<Palavra>& todas, int pagina, const std::string& texto = {})
{
    std::vector<Palavra> res;
    for (const auto& p : todas)
        if (p.pagina == pagina && (texto.empty() || p.texto == texto)) res.push_back(p);
    return res;
}

inline int NumeroPaginasPdf(const std::string& arquivo)
{
    const QString info = QString::fromStdString(Executa("pdfinfo", {QString::fromStdString(arquivo)}));
    const auto m = QRegularExpression(R"(Pages:\s+(\d+))").match(info);
    return m.hasMatch() ? m.captured(1).toInt() : 0;
}

inline std::string FontesPdf(const std::string& arquivo)
{
    return Executa("pdffonts", {QString::fromStdString(arquivo)});
}

// A printer dialog that sends the document to a PDF file at the given resolution, or cancels.
class DialogoPdf {
public:
    DialogoPdf(std::string arquivo, int dpi = 600)
        : arquivo_(std::move(arquivo)), dpi_(dpi),
          escopo_([this](QPrinter& printer, long flags, const vb::PrinterDialogTexts& textos) {
              ++vezes;
              ultimasFlags = flags;
              ultimosTextos = textos;
              if (cancela) return false;
              printer.setOutputFormat(QPrinter::PdfFormat);
              printer.setOutputFileName(QString::fromStdString(arquivo_));
              printer.setResolution(dpi_);
              printer.setPageSize(QPageSize(QPageSize::A4));
              printer.setPageMargins(QMarginsF(6.35, 6.35, 6.35, 6.35), QPageLayout::Millimeter);
              return true;
          })
    {
    }
    bool cancela = false;
    int vezes = 0;
    long ultimasFlags = 0;
    vb::PrinterDialogTexts ultimosTextos;
    const std::string& Arquivo() const { return arquivo_; }
    void Para(std::string arquivo) { arquivo_ = std::move(arquivo); }

private:
    std::string arquivo_;
    int dpi_;
    vb::ScopedPrinterDialog escopo_;
};

}  // namespace teste
