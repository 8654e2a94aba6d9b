// The main window: one fixed 800 x 600 design area (pctBase) with the frame (header, tab
// strips, footer) and the five screen panels; its own events, keyboard, layout, the screen
// switcher and the mouse-wheel hook, the hand-overs to the auxiliary window and the pop-up
// menus. The catalogue screens and the auxiliary window come from behind their interfaces.
#pragma once

#include "catalog/controls/THCombo.h"
#include "catalog/controls/THGrid.h"
#include "catalog/main_window/frmZornak_teclado.h"
#include "catalog/screens/ModuloTelas.h"
#include "catalog/startup/MSubclass.h"
#include "platform/dao/Dao.h"
#include "platform/forms/Form.h"
#include "platform/forms/UserControl.h"

#include <QPointer>
#include <QWidget>

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

class frmZornakForm;

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

    // Which screens the window works with (the tests put stand-ins in their place; the
    // default is the catalogue screens). Set before the window loads.
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
    // The footer's back and print buttons and the two logos, which only the list and figure
    // screens show.
    void MostraRodapeLista(bool visivel);
    // The list's or the figure's title (lblTituloL / lblTituloF) over its strip.
    void MostraTitulo(const char* titulo, const char* faixa, const std::string& texto);
    void AlteraIdioma(std::string idioma, bool bInicial);
    void TraduzTelaPrincipal(bool bAtualizaData);
    void AtualizaSelecaoMouse(const std::string& chave);
    // The control a hover key highlights: the label to underline or the "Sel" picture to
    // show; nullptr for tabs, lists and unknown keys.
    vb::Control* ObtemControleSelecao(const std::string& chave) const;
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
    void imgCarrinhoTodos_Click();
    void imgSiteZornak_Click();
    void lblLinkPopUp_Click();
    void lblPagF_Click(int indice);
    void lblGrupoM_Click(int indice);
    void lblItem_MouseUp(int indice, int Button, int Shift, float X, float Y);
    // The pop-up menu of a figure item: its products (four at most) with their actions; the
    // choice comes back through MenuClick.
    void MostraMenuItemFigura(const std::vector<ITelasCatalogo::ProdutoItemFigura>& produtos);
    // A column header: the list of its screen again in the header's sort order.
    void CabecalhoClick(const std::string& nomeLabel);
    long ObtemCodigoAplicacao() const;

    // --- The auxiliary window and the pop-up menus.
    // Writes the request (the mode, and "|" and the parameters when there are any) into
    // RequisicaoTela and shows the auxiliary window modally; returns when it has closed.
    void AbreTelaAuxiliar(long modo, const std::string& parametros);
    // The choice of a pop-up menu: 0 cart, 1 observation, 2 applications (a product code),
    // 3 and 4 the figure of a set (a column of ConjuntosMenu). Unloads frmMenu at the end.
    void MenuClick(long sMenu, long sInformacaoAdicional = 0);
    // Applies the answer the auxiliary window left in RequisicaoTela, or resets the list
    // state when it left none.
    void AplicaEstadoPendente(std::uint8_t fabricante, int grupo);

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
    THGrid* grdTHGrid1 = nullptr;
    THGrid* grdTHGrid2 = nullptr;
    THCombo* cboTHCombo1 = nullptr;
    THCombo* cboTHCombo2 = nullptr;
    // The figure items (element 0 the template; the figure screen loads and places the rest).
    vb::ControlArray<vb::Label>* lblItem = nullptr;
    dao::DataControl dtcTHGrid1, dtcTHGrid2, dtcTHCombo1, dtcTHCombo2;
    vb::Timer* tmrVerificarAtualizacoes = nullptr;
    vb::Timer* tmrVerificaProcessoVerificacao = nullptr;   // polls the checker; its Tag names the check
    // Any placed control by name and index (-1 outside an array); nullptr when missing.
    vb::Control* Controle(const std::string& nome, int indice = -1) const;
    // A frame of the layout (shpGrid, shpLigaRef), in the screens' frame colour.
    vb::Shape& Moldura(const std::string& nome, int indice);
    vb::Image& Img(const std::string& nome, int indice = -1) const;
    vb::Label& Lbl(const std::string& nome, int indice = -1) const;
    // A control array of the window by name and element type (the screens load and unload
    // its elements); nullptr when the window has none of that name.
    template <class T>
    vb::ControlArray<T>* ArranjoControles(const std::string& nome) const { return Arranjo<T>(nome); }

    // --- State shared with the screens.
    std::string m_ChaveSelecao = "FORM";
    std::string m_HistoricoTelas;         // the screens' HistoricoTelas; its last digit is the current screen
    bool m_PrimeiraAtivacao = true;
    bool m_TrocandoTela = false;          // the screens call it TrocandoTela: a switch or build runs
    std::uint8_t m_SubTelaProduto = 0;    // the product screen's ModoPesquisaProduto: 0 all, 1 new releases
    long m_CorFundoOrelha = 0;
    QPointer<QWidget> m_JanelaSubclassificada;   // the window now hooked for the wheel, none when null
    bool m_VerificandoAtualizacao = false, m_BloqueioAtualizacao = false;
    std::uint8_t m_TicksVerificacao = 0;
    long m_ProcessoVerificacao = 0;     // the checker's process id; 0 for none
    bool m_FalhaArquivoResultado = false;   // the start failed at the result file, not the network
    double m_UltimaVerificacao = 0;     // the last recorded check; 1.0 when none was ever recorded
    // The last answer of the applications of a group and manufacturer (maker 0: nothing to
    // open again when the home screen is built).
    std::uint8_t CodigoFabricanteRetorno = 0;
    int CodigoGrupoProdutoRetorno = 0;          // -1: the vehicles of the maker
    long CodigoAplicacaoRetorno = 0;
    std::uint8_t CodigoTipoAplicacaoRetorno = 0;
    std::string FiltroRetorno;
    std::uint8_t LinhaRetorno = 255;            // 255: no row
    std::string OrdemRetorno = "1";
    std::uint8_t MarcaLancamentoRetorno = 0;
    // The list context: the application the list was opened for, the one chosen in its
    // combo (0: the vehicle itself), the group to select, the makers of the application.
    long CodigoAplicacaoLista = 0, CodigoAplicacaoCombo = 0;
    int CodigoGrupoLista = 0;
    std::string FabricantesLista;
    // The figure: its application, its pages (two-digit part number, first and last item
    // label), the page shown (255: none) and the item under the mouse (-1: none).
    int CodigoAplicacaoFigura = 0;
    std::vector<std::string> PaginasFigura;
    std::uint8_t PaginaFiguraAtual = 255;
    int ItemFiguraSelecionado = -1;
    dao::Recordset m_Recordset;   // the window's own, closed at unload

    // --- The update check: start, the 500 ms poll, the automatic scheduler, the status
    // texts, and the end of a running check (its process and result file go, the lock is
    // released).
    void IniciaVerificacaoAtualizacoes(bool bAutomatica);
    void tmrVerificaProcessoVerificacao_Timer();
    void tmrVerificarAtualizacoes_Timer();
    void AtualizaUltimaAtualizacao(bool bAtualizaData);
    bool VerificacaoAtualizacoesEmAndamento() const;
    void EncerraVerificacaoAtualizacoes();
    void LiberaBloqueioAtualizacao();

    // The system ends the program (log-out, shut-down, its terminal closed): the same unload
    // as the window's close, then the program ends. An update being installed finishes first;
    // the end follows it.
    void EncerraPeloSistema();
    bool m_InstalandoAtualizacao = false;
    bool m_EncerramentoPendente = false;

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
    // The switch's own steps, between marking the window busy and clearing the mark.
    void TrocaTelaPassos(std::uint8_t telaEntrando, std::uint8_t telaSaindo, const std::string& opcaoLimpeza);
    // The element whose mouse move passes a hover key: the label, the tab, the list, or the
    // picture button under its "Sel" picture.
    vb::Control* ControleApontado(const std::string& chave) const;
    // A highlight whose element a screen switch hid or removed goes: nothing a user can no
    // longer point at stays highlighted.
    void LimpaSelecaoOculta();
    // The print button's work: the list or the figure page of the screen shown.
    void ImprimeTelaAtual();
    void CriaControles();
    void LigaEventos();
    void CriaTemporizadoresVerificacao();
    void IniciaEstado();
    void RemoveSubClassing();
    // The window's lists as the wheel's targets while it is loaded.
    void RegistraListasRoda(bool registra);
    frmZornakTeclado::Contexto ContextoTeclado() const;
    vb::Container& ContainerDe(const std::string& nome, int indice);
    void CriaControlesTelas();
    void CompletaControlesTelas();
    // A label's hover key: "_" and its name without "lbl", in upper case.
    static std::string ChaveRotulo(const std::string& nome);
    // The sortable header whose hover key that is; "" for none.
    static std::string CabecalhoDaChave(const std::string& chave);
    void LigaEventosTelas();

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
// What the catalogue does when the system asks it to end: the main window's unload when it
// is there (checker stopped, cart table dropped, databases closed), else the run's cart table
// and databases directly; then the program ends.
void EncerraProgramaPeloSistema();

// Gives a window its frame at run time: border style 0 none, 1 fixed single, 2 sizable, 3
// fixed dialog, 4 fixed tool window, 5 sizable tool window (others raise 380 and change
// nothing), with or without system menu, maximise and minimise buttons, a taskbar entry and
// a help button. The old frame settings are not kept.
void AjustaJanela(vb::Form& janela, long borda, bool recortaFilhos, bool menuSistema, bool botaoMaximizar,
                  bool botaoMinimizar, bool barraTarefas, bool botaoAjuda);

