// The auxiliary window: a modal, borderless window over the main window's design area with
// one screen per request mode (0 observation, 1 applications of a product, 2 cart,
// 3 applications of a product group and manufacturer, 5 settings, 6 update installation).
// The request comes in EstadoPrograma.RequisicaoTela ("mode|param|param..."); an answer a
// screen leaves goes back the same way.
#pragma once

#include "catalog/controls/THCombo.h"
#include "catalog/controls/THGrid.h"
#include "catalog/startup/Modulo.h"
#include "platform/dao/Dao.h"
#include "platform/forms/FileDialog.h"
#include "platform/forms/Form.h"

#include <QRect>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

// What the window needs of the main window, which lives in a library above this one. The
// main window fills these in; a missing one does what its comment says.
struct LigacoesJanelaAuxiliar {
    // The screen rectangle of the main window's 800 x 600 design area (pctBase), in pixels.
    // Missing: the window is centred on the screen.
    std::function<QRect()> AreaDesenhoPrincipal;
    // The main window's wheel hook (SubClassing). Missing: the wheel is not re-routed.
    std::function<void(bool)> SubClassing;
    // The main window itself, for JanelaRodaMouse when this window closes.
    std::function<vb::Form*()> JanelaPrincipal;
    // Repaints the main window's home panel and first tab strip before screen 3 shows.
    std::function<void()> RedesenhaPrincipal;
    // Clears the main window's hover highlight: this window takes the pointer over it.
    std::function<void()> ApagaDestaquePrincipal;
    // Prints the cart rows of the recordset (from its current row) after the printer box.
    // Missing: a box says that printing is not available.
    std::function<void(dao::Recordset&)> ImprimirCarrinho;
};

class frmZornak2Form : public vb::Form, public IJanelaSeletores {
public:
    frmZornak2Form();
    ~frmZornak2Form() override;

    static LigacoesJanelaAuxiliar& Ligacoes();

    // IJanelaSeletores.
    IComboRolagem& Combo(const std::string& nome) override;
    dao::DataControl& DataControl(const std::string& nome) override;

    // --- Frame.
    void ExibeTela(std::uint8_t telaSaindo, const std::string& requisicao);
    void lblVoltar_Click();
    void tmrAux_Timer();
    void ConfiguraLegendasBotoes();
    void ObtemControleDestaque(const std::string& chave, vb::Control*& controle);
    void DestacaControle(const std::string& chave);
    void FocaObservacao();
    void PosicionaControles();
    // The current screen: the last digit of the history, 255 without one.
    std::uint8_t TelaAtual() const;

    // --- Screens 0 and 1.
    void ExibeTelaObservacao(const std::string& tipo, long codigo, const std::string& legenda);
    void SaiTelaObservacao();
    void ExibeTelaAplicacoesProduto(long produto, long aplicacao);
    void SaiTelaAplicacoesProduto();
    void AtualizaGridAplicacoesProduto(long produto, const std::string& ordem, bool bAtualiza);

    // --- Screen 2: cart.
    void ExibeTelaCarrinho(long codigoProduto);
    void SaiTelaCarrinho();
    void AtualizaGridCarrinho(long codigoProduto, std::uint8_t linha, const std::string& ordem, bool reconstroi,
                              bool redesenha);
    void ExibeReferenciasProduto();
    std::string GeraNomeArquivoCarrinho();
    void SelecionaArquivoDestino(const std::string& extensao);
    void GravaArquivoCarrinho(const std::string& caminho);
    void lblImprimir_Click();
    void lblGerarArquivo_Click();
    void lblEnviarEmail_Click();

    // --- Screen 3: applications of a group and manufacturer.
    void ExibeTelaPrincipal(std::uint8_t fabricante, int grupo, long aplicacao, std::uint8_t tipo,
                            const std::string& filtro, std::uint8_t linha, const std::string& ordem,
                            std::uint8_t redesenha, std::uint8_t lancamento);
    void SaiTelaPrincipal();
    void AtualizaGridAplicacoesGrupo(std::uint8_t fabricante, int grupo, long aplicacao, const std::string& ordem,
                                     bool redesenha);
    void RetornaAplicacaoSelecionada(long tela);
    void ExibeVeiculosAplicacao();

    // --- Screen 5: settings; screen 6: update installation.
    void ExibeTelaConfiguracoes();
    void lblVerificarAtualizacoesAuto_Click();
    void lblOk_Click();
    void ExibeTelaAtualizacao(int versaoInstalada, int versaoNova);

    // --- The grid's events and the small handlers.
    void grdTHGrid1_ImageClick(std::uint8_t coluna, int botao);
    void grdTHGrid1_DblClick();
    void grdTHGrid1_RowColChange(const MarcadorLinha& linhaAnterior);
    void grdTHGrid1_MouseMove();
    void cboTHCombo2_SelecaoAlterada();
    void cboTHCombo2_MouseMove();
    void txtDescricaoAplicacaoM_Change();

    // The keyboard, callable by tests as the form's key events run.
    void TeclaDown(int& KeyCode, int Shift) { Form_KeyDown(KeyCode, Shift); }
    void TeclaPress(int& KeyAscii) { Form_KeyPress(KeyAscii); }
    void TeclaUp(int& KeyCode, int Shift) { Form_KeyUp(KeyCode, Shift); }

    // --- Controls.
    vb::Image* imgFundo = nullptr;
    vb::Image* imgTitulo = nullptr;
    vb::Label* lblSubTitulo = nullptr;
    vb::ControlArray<vb::PictureBox>* pctTela = nullptr;
    vb::Image *imgRodapeEsq = nullptr, *imgRodapeDir = nullptr;
    vb::Label *lblVoltar = nullptr, *lblOk = nullptr, *lblImprimir = nullptr, *lblGerarArquivo = nullptr,
              *lblEnviarEmail = nullptr;
    vb::Image *imgBtnVoltar = nullptr, *imgBtnOk = nullptr, *imgBtnImprimir = nullptr, *imgBtnGerarArquivo = nullptr,
              *imgBtnEnviarEmail = nullptr;
    vb::Image *imgBtnVoltarSel = nullptr, *imgBtnOkSel = nullptr, *imgBtnImprimirSel = nullptr,
              *imgBtnGerarArquivoSel = nullptr, *imgBtnEnviarEmailSel = nullptr;
    THGrid* grdTHGrid1 = nullptr;
    THCombo* cboTHCombo2 = nullptr;
    dao::DataControl dtcTHGrid1, dtcTHCombo2;
    vb::Timer* tmrAux = nullptr;
    vb::CommonDialog cdlGerarArquivo;
    // Screen 0.
    vb::TextBox* txtObservacao = nullptr;
    // Screen 1.
    vb::Label *lblTipoAplicacaoA = nullptr, *lblAplicacaoProdutoA = nullptr, *lblFabricanteA = nullptr;
    // Screen 2.
    vb::Label *lblNumeroEmpresaC = nullptr, *lblDescricaoC = nullptr, *lblQtdC = nullptr, *lblMaisC = nullptr,
              *lblMenosC = nullptr, *lblXC = nullptr;
    vb::ControlArray<vb::Label>* lblNroReferenciaC = nullptr;
    // Screen 3.
    vb::Label *lblTipoAplicacaoM = nullptr, *lblDescricaoM = nullptr, *lblLancamentoM = nullptr,
              *lblFigM = nullptr, *lblListaM = nullptr;
    vb::ControlArray<vb::Label>* lblVeiculosM = nullptr;
    vb::TextBox* txtDescricaoAplicacaoM = nullptr;
    // Screen 5.
    vb::Label *lblVerificarAtualizacoesAuto = nullptr, *lblAutenticacaoProxy = nullptr, *lblUsuario = nullptr,
              *lblSenha = nullptr;
    vb::ControlArray<vb::Image>* imgVerificarAtualizacoesAuto = nullptr;
    vb::TextBox *txtUsuario = nullptr, *txtSenha = nullptr;

    // --- State.
    std::string ChaveSelecaoAtual = "FORM";
    std::string HistoricoTelas;
    bool PrimeiraAtivacao = true;
    bool TrocandoTela = false;
    std::string OrdemAplicacoesProduto = "1", OrdemCarrinho = "1", OrdemAplicacoesGrupo = "1";
    std::string AcaoPendente;
    long CodigoAplicacaoAnterior = 0;
    // The base queries kept with the grid's data control between calls.
    std::string BaseCarrinho, BaseAplicacoesProduto, BaseAplicacoesGrupo;

protected:
    void Build() override;
    void Form_Load() override;
    void Form_Activate() override;
    void Form_KeyDown(int& KeyCode, int Shift) override;
    void Form_KeyPress(int& KeyAscii) override;
    void Form_KeyUp(int& KeyCode, int Shift) override;
    void Form_MouseMove(int Button, int Shift, float X, float Y) override;
    void Form_Unload(int& Cancel) override;

private:
    void LigaEventos();
    // This window's lists as the wheel's targets while it is open.
    void RegistraListasRoda(bool registra);
    void CarrinhoImageClick(std::uint8_t coluna, int botao);
    void GrupoImageClick(std::uint8_t coluna);
    bool ListaVazia() const;
    vb::Label* NovoRotulo(vb::Container& pai, const std::string& nome, bool cabecalho = false);
};

// The window, made on first use and kept as the program's one instance.
frmZornak2Form& frmZornak2();
