// The leak check at the end of a sanitized program reaches its verdict even with a thread alive
// whose dynamically allocated thread-local block sits where the run-time once misread it, and it
// still reports a real leak. The program is started with this test's own environment, that is,
// with the options of scripts/sanitize_env.sh.
#include <gtest/gtest.h>

#include <QProcess>
#include <QString>

#include <ostream>
#include <string>

namespace {

struct CasoSaida {
    const char* modo;
    bool vazamento;
};
void PrintTo(const CasoSaida& c, std::ostream* os) { *os << c.modo; }

class SaidaSanitizada : public ::testing::TestWithParam<CasoSaida> {};

TEST_P(SaidaSanitizada, TheLeakCheckAtExitReachesItsVerdict) {
    const CasoSaida& caso = GetParam();
    QProcess processo;
    processo.start(ZK_AJUDANTE, {ZK_MODULO_TLS, caso.modo});
    ASSERT_TRUE(processo.waitForFinished(120000)) << "the helper did not end";
    const QString saida = QString::fromUtf8(processo.readAllStandardOutput());
    const QString erros = QString::fromUtf8(processo.readAllStandardError());
    ASSERT_TRUE(saida.contains("parado")) << "no thread got its block at 16 bytes into a page; exit "
                                          << processo.exitCode() << "\n" << erros.toStdString();
    EXPECT_EQ(processo.exitStatus(), QProcess::NormalExit);
    EXPECT_FALSE(erros.contains("LeakSanitizer has encountered a fatal error")) << erros.toStdString();
    EXPECT_FALSE(erros.contains("Tracer caught signal")) << erros.toStdString();
    if (caso.vazamento) {
        EXPECT_NE(processo.exitCode(), 0);
        EXPECT_TRUE(erros.contains("Direct leak of 40 byte(s) in 1 object(s)")) << erros.toStdString();
    } else {
        EXPECT_EQ(processo.exitCode(), 0) << erros.toStdString();
        EXPECT_FALSE(erros.contains("detected memory leaks")) << erros.toStdString();
    }
}

INSTANTIATE_TEST_SUITE_P(Casos, SaidaSanitizada,
                         ::testing::Values(CasoSaida{"limpo", false}, CasoSaida{"vazamento", true}),
                         [](const ::testing::TestParamInfo<CasoSaida>& info) {
                             return std::string(info.param.modo);
                         });

}  // namespace
