// The splash window, the program's start-up object: shaped by its outline, it plays six
// frames of a picture animation and then runs the start-up sequence.
#pragma once

#include "platform/forms/Form.h"

#include <cstdint>

class frmApresentacaoForm : public vb::Form {
public:
    frmApresentacaoForm();

    // Looked at by the tests: the frame now shown (1 to 7) and the animation timer.
    std::uint8_t QuadroAtual() const { return m_Quadro; }
    vb::Timer* TimerAnimacao() const { return tmrAnimacao; }
    vb::PictureBox* Animacao() const { return pctAnimacao; }
    // One tick of tmrAnimacao, as the timer runs it.
    void tmrAnimacao_Timer();

protected:
    void Build() override;
    void Form_Load() override;

private:
    void ExibeQuadro(std::uint8_t n);
    void Finaliza();
    void AplicaRegiao();
    void PosicionaControles();

    vb::PictureBox* pctAnimacao = nullptr;
    vb::Image* imgFabrica = nullptr;
    vb::Image* imgLogo = nullptr;
    vb::Image* imgTitulo = nullptr;
    vb::Timer* tmrAnimacao = nullptr;
    std::uint8_t m_Quadro = 0;
};
