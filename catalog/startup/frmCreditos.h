// The closing credits: one picture over the whole screen, gone after five ticks of half a
// second, a click or a key; its unload ends the program.
#pragma once

#include "platform/forms/Form.h"

#include <cstdint>

class frmCreditosForm : public vb::Form {
public:
    frmCreditosForm();

    std::uint8_t Ticks() const { return m_Ticks; }
    vb::Timer* Temporizador() const { return Timer1; }
    vb::Image* Imagem() const { return imgCreditos; }
    void Timer1_Timer();

protected:
    void Build() override;
    void Form_Load() override;
    void Form_Click() override;
    void Form_KeyDown(int& KeyCode, int Shift) override;
    void Form_Unload(int& Cancel) override;

private:
    vb::Image* imgCreditos = nullptr;
    vb::Timer* Timer1 = nullptr;
    std::uint8_t m_Ticks = 0;
};
