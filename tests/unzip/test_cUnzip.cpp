// The unzip wrapper on archives the tests build with libzip.
#include "catalog/services/cUnzip.h"
#include "catalog/services/mUnzip.h"
#include "platform/vb/Err.h"
#include "tests/support/EscritaQueFalha.h"

#include <QTemporaryDir>
#include <zip.h>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <sys/fsuid.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <set>

namespace fs = std::filesystem;
using ::testing::HasSubstr;

namespace {

struct Entrada {
    std::string nome;
    std::string dados;
    bool pasta = false;
};

std::string LeTudo(const fs::path& caminho) {
    std::ifstream f(caminho, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(f)), std::istreambuf_iterator<char>());
}

void Grava(const fs::path& caminho, const std::string& bytes) {
    fs::create_directories(caminho.parent_path());
    std::ofstream(caminho, std::ios::binary) << bytes;
}

// Stored (uncompressed) entries keep their bytes findable in the file; others are deflated.
void CriaZip(const fs::path& caminho, const std::vector<Entrada>& entradas, bool guardado = false,
             const char* senha = nullptr) {
    int erro = 0;
    zip_t* zip = zip_open(caminho.c_str(), ZIP_CREATE | ZIP_TRUNCATE, &erro);
    ASSERT_NE(zip, nullptr);
    for (const Entrada& e : entradas) {
        zip_int64_t indice;
        if (e.pasta) {
            indice = zip_dir_add(zip, e.nome.c_str(), ZIP_FL_ENC_UTF_8);
        } else {
            zip_source_t* fonte = zip_source_buffer(zip, e.dados.data(), e.dados.size(), 0);
            indice = zip_file_add(zip, e.nome.c_str(), fonte, ZIP_FL_ENC_UTF_8);
        }
        ASSERT_GE(indice, 0) << e.nome << ": " << zip_strerror(zip);
        const auto i = static_cast<zip_uint64_t>(indice);
        zip_file_set_mtime(zip, i, 1700000000, 0);
        if (!e.pasta && guardado) zip_set_file_compression(zip, i, ZIP_CM_STORE, 0);
        if (!e.pasta && senha) {
            ASSERT_EQ(zip_file_set_encryption(zip, i, ZIP_EM_AES_256, senha), 0);
        }
    }
    ASSERT_EQ(zip_close(zip), 0);
}

std::set<std::string> ArquivosEm(const fs::path& pasta) {
    std::set<std::string> achados;
    if (!fs::exists(pasta)) return achados;
    for (const auto& e : fs::recursive_directory_iterator(pasta))
        if (e.is_regular_file()) achados.insert(fs::relative(e.path(), pasta).generic_string());
    return achados;
}

class CUnzipTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(temporaria_.isValid());
        raiz_ = temporaria_.path().toStdString();
        zip_ = raiz_ / "pacote-ci-.zip";
        destino_ = raiz_ / "dados";
        fs::create_directories(destino_);
    }

    // The update installation's use: every entry, folders kept, files replaced.
    cUnzip& Prepara(cUnzip& u) {
        u.ZipFile(zip_.string());
        u.UnzipFolder(destino_.string());
        u.OverwriteExisting(true);
        u.UseFolderNames(true);
        return u;
    }

    const std::vector<Entrada> arvore_ = {
        {"DOCS/", "", true},
        {"DOCS/A/B.TXT", "linha 1\nlinha 2\n"},
        {"LEIA.TXT", "leia"},
        {"FOTOS/P 1.JPG", std::string(3000, '\x7f')},
    };
    QTemporaryDir temporaria_;
    fs::path raiz_;
    fs::path zip_;
    fs::path destino_;
};

TEST_F(CUnzipTest, DirectoryListsEntriesWithTheirFolders) {
    CriaZip(zip_, arvore_);
    cUnzip u;
    u.ZipFile(zip_.string());
    EXPECT_EQ(u.Directory(), 0);
    ASSERT_EQ(u.FileCount(), 3);   // the folder entry has no name of its own
    EXPECT_EQ(u.FileDirectory(1), "DOCS/A");
    EXPECT_EQ(u.Filename(1), "B.TXT");
    EXPECT_EQ(u.FileSize(1), 16);
    EXPECT_EQ(u.FileDirectory(2), "");
    EXPECT_EQ(u.Filename(2), "LEIA.TXT");
    EXPECT_EQ(u.FileCRC(2), 0x90221F4Cu);   // crc32("leia")
    EXPECT_EQ(u.FileCompressionMethod(3), "Deflated");
    EXPECT_LT(u.FilePackedSize(3), u.FileSize(3));
    EXPECT_GT(u.FileDate(3), vb::DateSerial(2023, 1, 1));
    for (int i = 1; i <= 3; ++i) {
        EXPECT_TRUE(u.FileSelected(i));
        EXPECT_FALSE(u.FileEncrypted(i));
    }
    for (int fora : {0, 4, -1}) {
        try {
            u.Filename(fora);
            ADD_FAILURE() << fora;
        } catch (const vb::Error& e) {
            EXPECT_EQ(e.Number(), vb::err::SubscriptOutOfRange);
        }
    }

    // Listing again adds the entries again; a new archive starts an empty list.
    u.Directory();
    EXPECT_EQ(u.FileCount(), 6);
    u.ZipFile(zip_.string());
    EXPECT_EQ(u.FileCount(), 0);
    EXPECT_TRUE(ArquivosEm(destino_).empty());
}

TEST_F(CUnzipTest, UseFolderNamesDecidesWhereFilesGo) {
    CriaZip(zip_, arvore_);
    struct Caso {
        bool pastas;
        bool sublinhado;
        std::set<std::string> esperados;
    };
    for (const Caso& caso : {Caso{true, false, {"DOCS/A/B.TXT", "LEIA.TXT", "FOTOS/P 1.JPG"}},
                             Caso{false, false, {"B.TXT", "LEIA.TXT", "P 1.JPG"}},
                             Caso{true, true, {"DOCS/A/B.TXT", "LEIA.TXT", "FOTOS/P_1.JPG"}}}) {
        SCOPED_TRACE(caso.pastas);
        fs::remove_all(destino_);
        fs::create_directories(destino_);
        cUnzip u;
        Prepara(u).UseFolderNames(caso.pastas);
        u.SpaceToUnderScore(caso.sublinhado);
        EXPECT_TRUE(u.Unzip());
        EXPECT_EQ(ArquivosEm(destino_), caso.esperados);
        EXPECT_TRUE(fs::is_directory(destino_ / "DOCS") == caso.pastas);
    }
    EXPECT_EQ(LeTudo(destino_ / "DOCS/A/B.TXT"), "linha 1\nlinha 2\n");
    EXPECT_EQ(LeTudo(destino_ / "FOTOS/P_1.JPG"), std::string(3000, '\x7f'));
}

TEST_F(CUnzipTest, ExistingFilesAreReplacedOnlyWhenAllowed) {
    CriaZip(zip_, {{"LEIA.TXT", "novo"}});
    struct Caso {
        const char* nome;
        bool sobrescreve;
        bool pergunta;
        std::optional<std::int32_t> resposta;   // the handler's answer; none = no handler
        std::string esperado;
        int perguntas;
    };
    const std::vector<Caso> casos = {
        {"overwrite, no prompt", true, false, std::nullopt, "novo", 0},
        {"overwrite wins over prompt", true, true, uz::UZ_REPLACE_NO, "novo", 0},
        {"prompt answered yes", false, true, uz::UZ_REPLACE_YES, "novo", 1},
        {"prompt answered no", false, true, uz::UZ_REPLACE_NO, "velho", 1},
        {"prompt without handler keeps the file", false, true, std::nullopt, "velho", 0},
        {"neither keeps the file", false, false, uz::UZ_REPLACE_YES, "velho", 0},
    };
    for (const Caso& caso : casos) {
        SCOPED_TRACE(caso.nome);
        Grava(destino_ / "LEIA.TXT", "velho");
        cUnzip u;
        Prepara(u).OverwriteExisting(caso.sobrescreve);
        u.PromptToOverwrite(caso.pergunta);
        int perguntas = 0;
        if (caso.resposta) {
            u.OverwritePrompt = [&](const std::string& arquivo, std::int32_t& resposta) {
                ++perguntas;
                EXPECT_EQ(resposta, 100);
                EXPECT_EQ(fs::path(arquivo), destino_ / "LEIA.TXT");
                resposta = *caso.resposta;
            };
        }
        u.Unzip();
        EXPECT_EQ(LeTudo(destino_ / "LEIA.TXT"), caso.esperado);
        EXPECT_EQ(perguntas, caso.perguntas);
        EXPECT_EQ(ArquivosEm(destino_), std::set<std::string>{"LEIA.TXT"});   // no leftovers
    }
}

TEST_F(CUnzipTest, SelectedEntriesAreTheOnlyOnesExtracted) {
    CriaZip(zip_, arvore_);
    cUnzip u;
    Prepara(u);
    ASSERT_EQ(u.Directory(), 0);
    u.FileSelected(2, false);
    u.FileSelected(3, false);
    EXPECT_TRUE(u.Unzip());
    EXPECT_EQ(ArquivosEm(destino_), std::set<std::string>{"DOCS/A/B.TXT"});

    // None selected is the same as all.
    fs::remove_all(destino_);
    u.FileSelected(1, false);
    EXPECT_TRUE(u.Unzip());
    EXPECT_EQ(ArquivosEm(destino_).size(), 3u);

    EXPECT_EQ(FullEntryName("DOCS\\A", "B.TXT"), "DOCS/A/B.TXT");
    EXPECT_EQ(FullEntryName("", "B.TXT"), "B.TXT");
    EXPECT_EQ(FullEntryName(std::string(1, '\0'), "B.TXT"), "B.TXT");
}

TEST_F(CUnzipTest, NamesLeadingOutsideTheFolderAreNeverWritten) {
    const fs::path fora = raiz_ / "fora";
    const std::vector<Entrada> perigosas = {
        {"../fora/um.txt", "x"},
        {"DOCS/../../fora/dois.txt", "x"},
        {"..\\fora\\tres.txt", "x"},
        {(fora / "absoluto.txt").string(), "x"},
        {"C:/fora/quatro.txt", "x"},
        {"c:cinco.txt", "x"},
        {"DOCS/..", "x"},
        {"BOM.TXT", "bom"},
    };
    CriaZip(zip_, perigosas);
    for (bool pastas : {true, false}) {
        SCOPED_TRACE(pastas);
        fs::remove_all(destino_);
        fs::create_directories(destino_);
        cUnzip u;
        Prepara(u).UseFolderNames(pastas);
        std::vector<std::string> mensagens;
        u.Progress = [&](std::int32_t, const std::string& m) { mensagens.push_back(m); };
        EXPECT_FALSE(u.Unzip());   // finished with entries left out
        EXPECT_EQ(ArquivosEm(destino_), std::set<std::string>{"BOM.TXT"});
        EXPECT_FALSE(fs::exists(fora));
        const auto recusas = std::count_if(mensagens.begin(), mensagens.end(), [](const std::string& m) {
            return m.find("outside the target folder") != std::string::npos;
        });
        EXPECT_EQ(recusas, 7);
    }
    // Listing shows them as they are, so the caller can see what the archive holds.
    cUnzip u;
    u.ZipFile(zip_.string());
    EXPECT_EQ(u.Directory(), 0);
    EXPECT_EQ(u.FileCount(), 8);
}

TEST_F(CUnzipTest, DamagedArchivesFailAndKeepWhatWasThere) {
    // Not an archive at all, cut short, or empty.
    CriaZip(raiz_ / "bom.zip", arvore_);
    const std::string inteiro = LeTudo(raiz_ / "bom.zip");
    for (const std::string& conteudo : {std::string("isto nao e um zip"), inteiro.substr(0, inteiro.size() / 2),
                                        std::string()}) {
        Grava(zip_, conteudo);
        cUnzip u;
        Prepara(u);
        EXPECT_NE(u.Directory(), 0);
        EXPECT_EQ(u.FileCount(), 0);
        EXPECT_FALSE(u.Unzip());
        EXPECT_TRUE(ArquivosEm(destino_).empty());
    }

    // A damaged entry: the old file stays whole, no half file is left, the rest is written.
    const std::string dados(5000, 'Z');
    CriaZip(zip_, {{"A.DAT", dados}, {"B.DAT", "bom"}}, true);
    std::string bytes = LeTudo(zip_);
    const std::size_t pos = bytes.find(dados);
    ASSERT_NE(pos, std::string::npos);
    bytes[pos + 100] = 'Y';
    Grava(zip_, bytes);
    Grava(destino_ / "A.DAT", "antigo");
    cUnzip u;
    Prepara(u);
    std::vector<std::string> mensagens;
    u.Progress = [&](std::int32_t, const std::string& m) { mensagens.push_back(m); };
    EXPECT_FALSE(u.Unzip());
    EXPECT_EQ(LeTudo(destino_ / "A.DAT"), "antigo");
    EXPECT_EQ(LeTudo(destino_ / "B.DAT"), "bom");
    EXPECT_EQ(ArquivosEm(destino_), (std::set<std::string>{"A.DAT", "B.DAT"}));
    EXPECT_THAT(testing::PrintToString(mensagens), HasSubstr("A.DAT"));
}

TEST_F(CUnzipTest, EventsReachTheHandlersAndCancelStops) {
    CriaZip(zip_, arvore_);
    cUnzip u;
    Prepara(u);
    std::vector<std::pair<std::int32_t, std::string>> progresso;
    std::vector<std::string> servicos;
    u.Progress = [&](std::int32_t n, const std::string& m) { progresso.emplace_back(n, m); };
    u.Cancel = [&](const std::string& m, bool& cancela) {
        servicos.push_back(m);
        cancela = m == "LEIA.TXT";
    };
    EXPECT_FALSE(u.Unzip());
    EXPECT_EQ(servicos, (std::vector<std::string>{"DOCS/", "DOCS/A/B.TXT", "LEIA.TXT"}));
    EXPECT_EQ(ArquivosEm(destino_), std::set<std::string>{"DOCS/A/B.TXT"});
    ASSERT_FALSE(progresso.empty());
    for (const auto& [n, m] : progresso) EXPECT_EQ(n, 1);
    EXPECT_THAT(testing::PrintToString(progresso), HasSubstr("B.TXT"));

    // An error inside a handler is ignored; the run goes on.
    fs::remove_all(destino_);
    u.Cancel = [](const std::string&, bool&) { vb::Raise(5); };
    EXPECT_TRUE(u.Unzip());
    EXPECT_EQ(ArquivosEm(destino_).size(), 3u);

    // Message level 2: quiet.
    progresso.clear();
    u.MessageLevel(2);
    EXPECT_EQ(u.MessageLevel(), 2);
    EXPECT_TRUE(u.Unzip());
    EXPECT_TRUE(progresso.empty());
}

TEST_F(CUnzipTest, EncryptedEntriesAskForThePassword) {
    if (!zip_encryption_method_supported(ZIP_EM_AES_256, 1)) GTEST_SKIP() << "libzip without AES";
    CriaZip(zip_, {{"A.TXT", "segredo a"}, {"B.TXT", "segredo b"}}, false, "chave");
    struct Caso {
        std::string resposta;
        bool cancela;
        std::set<std::string> esperados;
        int perguntas;
    };
    for (const Caso& caso : {Caso{"  chave  ", false, {"A.TXT", "B.TXT"}, 2},
                             Caso{"chave", true, {}, 1},     // refused: the second is not asked
                             Caso{"   ", false, {}, 1}}) {
        SCOPED_TRACE(caso.resposta);
        fs::remove_all(destino_);
        cUnzip u;
        Prepara(u);
        int perguntas = 0;
        u.PasswordRequest = [&](std::string& senha, bool& cancela) {
            ++perguntas;
            EXPECT_EQ(senha, "");
            senha = caso.resposta;
            cancela = caso.cancela;
        };
        u.Unzip();
        EXPECT_EQ(ArquivosEm(destino_), caso.esperados);
        EXPECT_EQ(perguntas, caso.perguntas);
    }
    cUnzip u;
    u.ZipFile(zip_.string());
    u.Directory();
    ASSERT_EQ(u.FileCount(), 2);
    EXPECT_TRUE(u.FileEncrypted(1));
}

TEST_F(CUnzipTest, RunLimitsAndOptions) {
    cUnzip vazio;
    EXPECT_FALSE(vazio.Unzip());   // no archive: nothing runs

    // More names than the library's list holds: error 9, and no run is left behind.
    std::vector<Entrada> muitas;
    for (int i = 0; i < 1025; ++i) muitas.push_back({"F" + std::to_string(i) + ".TXT", "x"});
    CriaZip(zip_, muitas);
    cUnzip u;
    Prepara(u);
    ASSERT_EQ(u.Directory(), 0);
    ASSERT_EQ(u.FileCount(), 1025);
    u.FileSelected(1, false);
    try {
        u.Unzip();
        ADD_FAILURE() << "1024 names went through";
    } catch (const vb::Error& e) {
        EXPECT_EQ(e.Number(), vb::err::SubscriptOutOfRange);
    }
    EXPECT_EQ(EstadoUnzip.DonoUnzip, nullptr);
    EXPECT_TRUE(ArquivosEm(destino_).empty());
    u.FileSelected(2, false);   // 1023 names fit
    EXPECT_TRUE(u.Unzip());
    EXPECT_EQ(ArquivosEm(destino_).size(), 1023u);

    // Option fields keep what was set; UnzipFolder reads back.
    cUnzip o;
    o.ExtractOnlyNewer(true);
    o.TestZip(true);
    o.CaseSensitiveFileNames(true);
    o.ConvertCRToCRLF(true);
    EXPECT_TRUE(o.ExtractOnlyNewer() && o.TestZip() && o.CaseSensitiveFileNames() && o.ConvertCRToCRLF());
    EXPECT_FALSE(o.PromptToOverwrite() || o.OverwriteExisting() || o.UseFolderNames() || o.SpaceToUnderScore());
    o.UnzipFolder("/x/y");
    EXPECT_EQ(o.UnzipFolder(), "/x/y");

    std::int32_t maior = -1, menor = -1, revisao = -1;
    vb::Date data = 5;
    std::string extra;
    o.GetVersion(maior, menor, revisao, data, extra);
    EXPECT_GE(maior, 1);
    EXPECT_EQ(data, 5);
    EXPECT_EQ(extra, "libzip");
}

TEST_F(CUnzipTest, TestZipAndLineEndsAndNewerOnly) {
    CriaZip(zip_, {{"T.TXT", "a\nb\r\nc\r"}, {"B.BIN", std::string("\x00\n\x01", 3)}});
    cUnzip u;
    Prepara(u);
    u.TestZip(true);
    EXPECT_TRUE(u.Unzip());
    EXPECT_TRUE(ArquivosEm(destino_).empty());   // testing writes nothing

    u.TestZip(false);
    u.ConvertCRToCRLF(true);
    EXPECT_TRUE(u.Unzip());
    EXPECT_EQ(LeTudo(destino_ / "T.TXT"), "a\r\nb\r\nc\r\n");
    EXPECT_EQ(LeTudo(destino_ / "B.BIN"), std::string("\x00\n\x01", 3));   // not text: unchanged

    // Newer only: a file newer than the entry stays.
    Grava(destino_ / "T.TXT", "mais novo");
    u.ConvertCRToCRLF(false);
    u.ExtractOnlyNewer(true);
    EXPECT_TRUE(u.Unzip());
    EXPECT_EQ(LeTudo(destino_ / "T.TXT"), "mais novo");
    fs::last_write_time(destino_ / "T.TXT", fs::file_time_type::clock::now() - std::chrono::hours(24 * 365 * 10));
    EXPECT_TRUE(u.Unzip());
    EXPECT_EQ(LeTudo(destino_ / "T.TXT"), "a\nb\r\nc\r");
}

// File access checked as a user without rights on this thread, also when the tests run as
// root (setfsuid drops root's overrides with it); a user who is not root is one already.
class ComoOutroUsuario {
public:
    ComoOutroUsuario() : antes_(static_cast<uid_t>(::setfsuid(65534))) {}
    ~ComoOutroUsuario() { ::setfsuid(antes_); }

private:
    uid_t antes_;
};

// A file that cannot be written ends the unpacking at that entry: the files before it are
// written, that one and the later ones keep what they held, no part file stays behind, and
// the error names the file and the system's cause.
TEST_F(CUnzipTest, AFileThatCannotBeWrittenStopsTheRunAndSaysWhy) {
    struct Caso {
        const char* como;
        int erro;
        long numero;
    };
    for (const Caso& c : {Caso{"a disk that fills up", ENOSPC, vb::err::DiskFull},
                          Caso{"a folder that refuses new files", EACCES, vb::err::PermissionDenied}}) {
        SCOPED_TRACE(c.como);
        fs::remove_all(destino_);
        CriaZip(zip_, arvore_);
        Grava(destino_ / "LEIA.TXT", "antigo");
        Grava(destino_ / "FOTOS" / "P 1.JPG", "antigo");
        fs::create_directories(destino_ / "DOCS");
        std::optional<testsupport::EscritaQueFalha> disco;
        std::optional<ComoOutroUsuario> usuario;
        if (c.erro == ENOSPC) {
            disco.emplace(1, ENOSPC);   // B.TXT is written, LEIA.TXT is not
        } else {
            // Only the data folder itself refuses: DOCS and FOTOS take files.
            fs::permissions(raiz_, fs::perms::owner_all | fs::perms::group_read | fs::perms::group_exec |
                                       fs::perms::others_read | fs::perms::others_exec);
            fs::permissions(zip_, fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read |
                                      fs::perms::others_read);
            fs::permissions(destino_ / "DOCS", fs::perms::all);
            fs::permissions(destino_ / "FOTOS", fs::perms::all);
            fs::permissions(destino_, fs::perms::owner_read | fs::perms::owner_exec | fs::perms::group_read |
                                          fs::perms::group_exec | fs::perms::others_read | fs::perms::others_exec);
            usuario.emplace();
            if (std::ofstream(destino_ / "teste.txt")) {
                usuario.reset();
                fs::permissions(destino_, fs::perms::owner_all);
                GTEST_SKIP() << "this system lets every user write into a read-only folder";
            }
        }
        cUnzip u;
        Prepara(u);
        try {
            u.Unzip();
            ADD_FAILURE() << "the run ended without an error";
        } catch (const vb::Error& e) {
            EXPECT_EQ(e.Number(), c.numero);
            EXPECT_THAT(e.Description(), HasSubstr((destino_ / "LEIA.TXT").string()));
            EXPECT_THAT(e.Description(), HasSubstr(std::strerror(c.erro)));
        }
        usuario.reset();
        disco.reset();
        fs::permissions(destino_, fs::perms::owner_all);
        EXPECT_EQ(EstadoUnzip.DonoUnzip, nullptr);
        EXPECT_EQ(LeTudo(destino_ / "DOCS" / "A" / "B.TXT"), "linha 1\nlinha 2\n");
        EXPECT_EQ(LeTudo(destino_ / "LEIA.TXT"), "antigo");
        EXPECT_TRUE(LeTudo(destino_ / "FOTOS" / "P 1.JPG") == "antigo") << "an entry after the failed one was written";
        EXPECT_EQ(ArquivosEm(destino_), (std::set<std::string>{"DOCS/A/B.TXT", "FOTOS/P 1.JPG", "LEIA.TXT"}));
    }
}

// The archives come from a system whose names ignore case: an entry replaces the file of the
// same name in any case, folders included, instead of writing a second one beside it, which
// the catalogue would never show.
TEST_F(CUnzipTest, AnEntryReplacesTheFileOfTheSameNameInAnyCase) {
    Grava(destino_ / "Figuras" / "FG001_01.png", "velho");
    Grava(destino_ / "Figuras" / "Leia.txt", "velho");
    CriaZip(zip_, {{"figuras/fg001_01.png", "novo"}, {"FIGURAS/LEIA.TXT", "novo"}, {"figuras/novo.png", "n"},
                   {"Outra/x.txt", "x"}});
    cUnzip u;
    Prepara(u).Unzip();
    EXPECT_EQ(ArquivosEm(destino_),
              (std::set<std::string>{"Figuras/FG001_01.png", "Figuras/Leia.txt", "Figuras/novo.png", "Outra/x.txt"}));
    EXPECT_EQ(LeTudo(destino_ / "Figuras" / "FG001_01.png"), "novo");
    EXPECT_EQ(LeTudo(destino_ / "Figuras" / "Leia.txt"), "novo");

    // Where two files differ only in case, the one of exactly that name is replaced.
    Grava(destino_ / "Figuras" / "fg001_01.png", "outro");
    Grava(destino_ / "Figuras" / "FG001_01.png", "velho");
    u.Unzip();
    EXPECT_EQ(LeTudo(destino_ / "Figuras" / "fg001_01.png"), "novo");
    EXPECT_EQ(LeTudo(destino_ / "Figuras" / "FG001_01.png"), "velho");
}

// Matched without case, a name still lands only where it can: the part of an entry's path
// that must be a folder takes a folder of another case, not a file of that name; and names
// that are no UTF-8 (written by an old system in Latin-1) match only exactly, not one another
// once upper-cased.
TEST_F(CUnzipTest, AFolderMatchesOnlyAFolderAndNamesThatAreNoTextOnlyThemselves) {
    Grava(destino_ / "FOTOS", "um arquivo, nao uma pasta");
    fs::create_directories(destino_ / "Fotos");
    Grava(destino_ / "Fotos" / "p\xE1.jpg", "latin a");
    Grava(destino_ / "Fotos" / "p\xE9.jpg", "latin e");
    CriaZip(zip_, {{"fotos/nova.jpg", "nova"}, {"fotos/P\xEF\xBF\xBD.JPG", "substituto"}});
    cUnzip u;
    EXPECT_TRUE(Prepara(u).Unzip());
    EXPECT_EQ(LeTudo(destino_ / "FOTOS"), "um arquivo, nao uma pasta");
    EXPECT_EQ(LeTudo(destino_ / "Fotos" / "nova.jpg"), "nova");
    EXPECT_EQ(LeTudo(destino_ / "Fotos" / "p\xE1.jpg"), "latin a");
    EXPECT_EQ(LeTudo(destino_ / "Fotos" / "p\xE9.jpg"), "latin e");
    EXPECT_EQ(LeTudo(destino_ / "Fotos" / "P\xEF\xBF\xBD.JPG"), "substituto");
}

}  // namespace
