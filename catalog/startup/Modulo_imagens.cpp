// Pictures: the program's own picture resources by name and type, the size of image files
// read from their headers (before a product photo is shown), and the transparent copy the
// tab strips overlap their tab shapes with.
#include "catalog/startup/Modulo.h"

#include "platform/vb/Err.h"

#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QPixmap>
#include <QString>

#include <limits>

// Resources of a static library need their initialiser called; this also pulls them into
// every program that loads pictures.
static void IniciaRecursosImagens() {
    static const bool iniciado = [] {
        Q_INIT_RESOURCE(zk_pictures);
        return true;
    }();
    (void)iniciado;
}

namespace {

std::string Maiusculas(std::string texto) {
    for (char& c : texto)
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    return texto;
}

// Raised by a header read past the file's bytes; ends the reading at once.
struct ForaDoArquivo {};

std::uint8_t Byte(const std::vector<std::uint8_t>& bytes, long posicao) {
    if (posicao < 0 || static_cast<unsigned long>(posicao) >= bytes.size()) throw ForaDoArquivo{};
    return bytes[static_cast<std::size_t>(posicao)];
}

std::int32_t Palavra(std::uint8_t alto, std::uint8_t baixo) {
    return static_cast<std::int16_t>(static_cast<std::uint16_t>((alto << 8) | baixo));
}

void VerificaPosicao(long posicao, const std::vector<std::uint8_t>& bytes) {
    if (posicao < 0 || static_cast<unsigned long>(posicao) + 1 >= bytes.size())
        vb::Raise(vb::err::SubscriptOutOfRange);
}

}  // namespace

vb::Picture CarregaImagemRecurso(const vb::Variant& nome, const vb::Variant& tipo) {
    IniciaRecursosImagens();
    const std::string n = Maiusculas(nome.ToString());
    const std::string t = Maiusculas(tipo.IsEmpty() ? EstadoPrograma.Idioma : tipo.ToString());
    const QString caminho = QStringLiteral(":/%1/%2").arg(QString::fromStdString(t), QString::fromStdString(n));
    // An empty name or type would name a folder of the resources, not a picture.
    if (n.empty() || t.empty() || !QFileInfo(caminho).isFile())
        vb::Raise(ErroRecursoNaoEncontrado, "Resource with identifier '" + n + "' not found");
    QFile arquivo(caminho);
    if (!arquivo.open(QIODevice::ReadOnly))
        vb::Raise(ErroRecursoNaoEncontrado, "Resource with identifier '" + n + "' not found");
    QPixmap imagem;
    if (!imagem.loadFromData(arquivo.readAll())) return vb::Picture();
    return vb::Picture(std::move(imagem));
}

vb::Picture CarregaImagemArquivo(const std::string& caminho) {
    std::string bytes;
    try {
        bytes = LeBytesArquivo(caminho);
    } catch (const vb::Error& e) {
        // Not a regular file (a FIFO, a device, a folder): no picture is there.
        if (e.Number() == vb::err::PathFileAccessError)
            vb::Raise(vb::err::FileNotFound, vb::DefaultDescription(vb::err::FileNotFound) + " (" + caminho + ")");
        throw;
    }
    QPixmap imagem;
    if (!imagem.loadFromData(reinterpret_cast<const uchar*>(bytes.data()), static_cast<uint>(bytes.size())) ||
        imagem.isNull())
        vb::Raise(vb::err::InvalidPicture, "Invalid picture (" + caminho + ")");
    return vb::Picture(std::move(imagem));
}

std::int32_t PalavraLE(long posicao, const std::vector<std::uint8_t>& bytes) {
    VerificaPosicao(posicao, bytes);
    const auto i = static_cast<std::size_t>(posicao);
    return Palavra(bytes[i + 1], bytes[i]);
}

std::int32_t PalavraBE(long posicao, const std::vector<std::uint8_t>& bytes) {
    VerificaPosicao(posicao, bytes);
    const auto i = static_cast<std::size_t>(posicao);
    return Palavra(bytes[i], bytes[i + 1]);
}

bool ObtemDimensoesImagem(const std::string& caminho, DimensoesImagem& dimensoes, std::string& tipo) {
    tipo.clear();
    dimensoes = DimensoesImagem{};
    try {
        // The length is a 32-bit field; a file beyond it is no picture this program shows.
        constexpr auto maximo = static_cast<std::size_t>(std::numeric_limits<std::int32_t>::max());
        const std::string conteudo = LeBytesArquivo(caminho, maximo + 1);
        if (conteudo.size() > maximo) return false;
        const long n = static_cast<long>(conteudo.size());
        dimensoes.TamanhoArquivo = static_cast<std::int32_t>(n);
        // Indexed 0 to n: the element after the last byte is 0.
        std::vector<std::uint8_t> b;
        b.reserve(conteudo.size() + 1);
        b.assign(conteudo.begin(), conteudo.end());
        b.push_back(0);

        auto B = [&b](long i) { return Byte(b, i); };
        if (B(0) == 137 && B(1) == 'P' && B(2) == 'N') {
            dimensoes.Largura = PalavraBE(18, b);
            dimensoes.Altura = PalavraBE(22, b);
            tipo = "png";
        } else if (B(0) == 'G' && B(1) == 'I' && B(2) == 'F') {
            dimensoes.Largura = PalavraLE(6, b);
            dimensoes.Altura = PalavraLE(8, b);
            tipo = "gif";
        } else if (B(0) == 'B' && B(1) == 'M') {
            dimensoes.Largura = PalavraLE(18, b);
            dimensoes.Altura = PalavraLE(22, b);
            tipo = "bmp";
        } else {
            // Start of image followed by a marker, then forward through the segments to the
            // first frame header (baseline, extended, progressive or lossless).
            long i = 0;
            bool achou = false;
            for (; i < n - 10; ++i)
                if (B(i) == 255 && B(i + 1) == 216 && B(i + 2) == 255) {
                    achou = true;
                    break;
                }
            if (achou) {
                long j = i + 2;
                while (j < n - 10) {
                    if (B(j) != 255 || B(j + 1) == 255) {
                        ++j;
                        continue;
                    }
                    const int marcador = B(j + 1);
                    if (marcador >= 192 && marcador <= 195) {
                        dimensoes.Altura = PalavraBE(j + 5, b);
                        dimensoes.Largura = PalavraBE(j + 7, b);
                        tipo = "jpg";
                        break;
                    }
                    long comprimento = PalavraBE(j + 2, b);
                    if (comprimento < 0) comprimento += 65536;
                    j += 1 + comprimento;
                }
            }
        }
    } catch (const ForaDoArquivo&) {
    } catch (const vb::Error&) {
    } catch (const std::exception&) {
    }
    return !tipo.empty();
}

long CorPixel(const QImage& imagem, int x, int y) {
    if (!imagem.valid(x, y)) return -1;
    const QRgb c = imagem.pixel(x, y);
    return static_cast<long>(qRed(c)) | (static_cast<long>(qGreen(c)) << 8) |
           (static_cast<long>(qBlue(c)) << 16);
}

void CopiaPixelsTransparente(const QImage& origem, QImage& destino, long corTransparente,
                             int deslocX, int deslocY, bool bRefresh,
                             const std::function<void()>& atualiza) {
    const int w = origem.width() - 1;
    const int h = origem.height() - 1;
    // Rows 0 to h - 1 (the last row is left out); row 0 even when h is 0 or less.
    int y = 0;
    do {
        for (int x = 0; x <= w; ++x) {
            const long cor = CorPixel(origem, x, y);
            if (cor < 0 || cor == corTransparente) continue;
            if (destino.valid(x + deslocX, y + deslocY))
                destino.setPixel(x + deslocX, y + deslocY,
                                 qRgb(static_cast<int>(cor & 0xFF), static_cast<int>((cor >> 8) & 0xFF),
                                      static_cast<int>((cor >> 16) & 0xFF)));
        }
        ++y;
    } while (y < h);
    if (bRefresh && atualiza) atualiza();
}
