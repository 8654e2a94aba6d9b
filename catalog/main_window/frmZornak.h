// The main window: one fixed 800 x 600 design area (pctBase) with the frame (header, tab
// strips, footer) and the five screen panels; its own events, keyboard, layout, the screen
// switcher and the mouse-wheel hook. The catalogue screens, the list controls, the
// auxiliary window, printing and the update check come from behind their interfaces.
#pragma once

#include "catalog/main_window/frmZornak_teclado.h"
#include "catalog/screens/ModuloTelas.h"
#include "catalog/startup/MSubclass.h"
#include "platform/dao/Dao.h"
#include "platform/forms/Form.h"
#include "platform/forms/UserControl.h"

#include <QPointer>
#include <QWidget>

#include <array>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

class frmZornakForm;

// The list controls of the window (grdTHGrid1, grdTHGrid2, cboTHCombo1, cboTHCombo2) until
// the real ones exist: hidden user controls of the right type that hold no rows.
class ListaIndisponivel : public vb::UserControl {
public:
    ListaIndisponivel(vb::Container& parent, std::string name, int index, std::string tipo);
    std::string TypeName() const override { return tipo_; }
    std::string mTextGridVazio;   // the text an empty grid shows

private:
    std::string tipo_;
};

// The update check runs a separate program and waits for its result file; the main
// window must stop it when it closes.
class IVerificacaoAtualizacoes {
public:
    virtual ~IVerificacaoAtualizacoes() = default;
    // A manual (False) or automatic (True) check.
    virtual void Inicia(bool automatica) = 0;
    virtual bool EmAndamento() const = 0;
    // Ends a running check: the checker process and its result file go.
    virtual void Encerra() = 0;
};

class frmZornakForm : public vb::Form, public ISubclass, public frmZornakTeclado::IAcoes {
public:
    frmZornakForm();
    ~frmZornakForm() override;

    // Which screens the window works with (the tests record; the default is the honest
    // stand-in). Set before the window loads.
    using FabricaTelas = std::function<std::unique_ptr<ITelasCatalogo>(frmZornakForm&)>;
    static void DefineFabricaTelas(FabricaTelas fabrica);
    ITelasCatalogo& Telas() const { return *telas_; }

    // --- Layout (PosicionaControles applies the fixed positions; CentralizaTela centres).
    void PosicionaControles();
    void CentralizaTela(bool bForcar);

    // --- Screen switcher, tabs, language, texts, hover.
    void TrocaTela(std::uint8_t telaEntrando, std::uint8_t telaSaindo, const std::string& opcaoLimpeza);
    void VaiParaTela(const std::string& mensagem, long tela);
    void SelecionaOrelha(std::uint8_t faixa, std::uint8_t abaAtiva, bool bRefresh);
    void DesenhaOrelha(std::uint8_t faixa, std::uint8_t aba, const std::string& sufixo, bool bRefresh);
    void ObtemCorFundoOrelha();
    void AlteraIdioma(std::string idioma, bool bInicial);
    void TraduzTelaPrincipal(bool bAtualizaData);
    void AtualizaSelecaoMouse(const std::string& chave);
    int TelaAtual() const;

    // --- The wheel hook.
    void SubClassing(bool sYesNo);
    long MsgResponse() const override { return 2; }
    long WindowProc(QWidget* janela, long mensagem, long wParam, long lParam) override;

    // --- Handlers the keyboard and the mouse share.
    void IconeGrade(int grade, int coluna) override;
    void RepeteNaGrade1(const std::string& teclas) override;
    void imgAjuda_Click() override;
    void lblSair_Click() override;
    void lblVerificarAtualizacoes_Click() override;
    void imgCarrinho_Click() override;
    void lblImprimir_Click() override;
    void lblInicio_Click() override;
    void imgOrelha0_Click(int indice) override;
    void imgOrelha1_Click(int indice) override;
    void lblConfiguracoes_Click();
    void imgMinimizar_Click();
    long ObtemCodigoAplicacao() const;

    // --- Controls.
    vb::PictureBox* pctBase = nullptr;
    vb::ControlArray<vb::PictureBox>* pctTela = nullptr;
    vb::ControlArray<vb::PictureBox>* pctOrelha = nullptr;
    vb::ControlArray<vb::Image>* imgOrelha0 = nullptr;
    vb::ControlArray<vb::Image>* imgOrelha1 = nullptr;
    vb::PictureBox* pctTmp = nullptr;
    vb::Image* imgFundoTela = nullptr;
    vb::Label* lblSair = nullptr;
    vb::Label* lblInicio = nullptr;
    vb::Label* lblImprimir = nullptr;
    vb::Label* lblVerificarAtualizacoes = nullptr;
    vb::Label* lblConfiguracoes = nullptr;
    vb::Label* lblUltimaAtualizacao = nullptr;
    vb::Label* lblLancamentoLC = nullptr;
    ListaIndisponivel* grdTHGrid1 = nullptr;
    ListaIndisponivel* grdTHGrid2 = nullptr;
    ListaIndisponivel* cboTHCombo1 = nullptr;
    ListaIndisponivel* cboTHCombo2 = nullptr;
    dao::DataControl dtcTHGrid1, dtcTHGrid2, dtcTHCombo1, dtcTHCombo2;
    vb::Timer* tmrVerificarAtualizacoes = nullptr;
    // Any placed control by name and index (-1 outside an array); nullptr when missing.
    vb::Control* Controle(const std::string& nome, int indice = -1) const;
    vb::Image& Img(const std::string& nome, int indice = -1) const;
    vb::Label& Lbl(const std::string& nome, int indice = -1) const;

    // --- State shared with the screens.
    std::string m_ChaveSelecao = "FORM";
    std::string m_HistoricoTelas;
    bool m_PrimeiraAtivacao = true;
    bool m_TrocandoTela = false;
    std::uint8_t m_SubTelaProduto = 0;
    long m_CorFundoOrelha = 0;
    QPointer<QWidget> m_JanelaSubclassificada;   // the window now hooked for the wheel, none when null
    bool m_VerificandoAtualizacao = false, m_BloqueioAtualizacao = false;
    std::uint8_t m_TicksVerificacao = 0;
    // The list state (maker, group, application, application type, filter, row, sort,
    // release mark), the figure's application and the remembered codes.
    std::uint8_t m_PendenteInicio = 0;
    int m_GrupoPendente = 0;
    long m_AplicacaoPendente = 0;
    std::uint8_t m_TipoAplicacaoPendente = 0;
    std::string m_FiltroPendente;
    std::uint8_t m_LinhaPendente = 255;
    std::string m_OrdemPendente = "1";
    std::uint8_t m_LancamentoPendente = 0;
    int m_AplicacaoFigura = 0;
    long m_AplicacaoLembrada1 = 0, m_AplicacaoLembrada2 = 0;
    int m_GrupoLembrado = 0;
    std::uint8_t m_PaginaFigura = 255;
    int m_ItemFigura = 0;
    std::vector<std::string> m_PaginasFigura;
    std::string m_FabricantesAplicacao;
    // Per list grid (0 and 1).
    std::array<long, 2> m_GradeCodigo{};
    std::array<int, 2> m_GradeInteiro{};
    std::array<long, 2> m_GradeCodigo2{};
    std::array<std::string, 2> m_GradeOrdem{"1", "4"};
    std::array<std::string, 2> m_GradeOrdem2{"1", "1"};
    std::array<std::string, 2> m_GradeTexto1{}, m_GradeTexto2{}, m_GradeTexto3{};
    std::uint8_t m_Flag1 = 0, m_Flag2 = 0;
    long m_Longo = 0;
    std::string m_Ordem = "1";
    dao::Recordset m_Recordset;   // the window's own, closed at unload

    IVerificacaoAtualizacoes& VerificacaoAtualizacoes() { return *verificacao_; }
    void DefineVerificacaoAtualizacoes(std::unique_ptr<IVerificacaoAtualizacoes> v) { verificacao_ = std::move(v); }

protected:
    void Build() override;
    void Form_Load() override;
    void Form_Activate() override;
    void Form_KeyDown(int& KeyCode, int Shift) override;
    void Form_KeyPress(int& KeyAscii) override;
    void Form_MouseMove(int Button, int Shift, float X, float Y) override;
    void Form_Resize() override;
    void Form_Unload(int& Cancel) override;

private:
    void CriaControles();
    void LigaEventos();
    void IniciaEstado();
    void RemoveSubClassing();
    void LimpaAlvoRoda();
    frmZornakTeclado::Contexto ContextoTeclado() const;
    vb::Container& ContainerDe(const std::string& nome, int indice);

    std::unique_ptr<ITelasCatalogo> telas_;
    std::unique_ptr<IVerificacaoAtualizacoes> verificacao_;
    std::map<std::pair<std::string, int>, vb::Control*> controles_;
    // Arrays whose elements may lie in different containers are kept here.
    std::vector<std::shared_ptr<void>> arranjos_;
    std::map<std::string, void*> arranjosPorNome_;
    template <class T>
    vb::ControlArray<T>* Arranjo(const std::string& nome) const {
        auto it = arranjosPorNome_.find(nome);
        return it == arranjosPorNome_.end() ? nullptr : static_cast<vb::ControlArray<T>*>(it->second);
    }
};

// The program's one main window (made on first use) and how the start-up makes it.
frmZornakForm& frmZornak();
void RegistraJanelaPrincipal();
