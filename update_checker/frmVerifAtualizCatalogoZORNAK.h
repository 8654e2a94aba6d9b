// The checker's one window: never seen, it carries the timer that starts the check once the
// window has finished loading.
#pragma once

#include "platform/forms/Form.h"

#include <cstdint>

class frmVerifAtualizCatalogoZORNAKForm : public vb::Form {
public:
    frmVerifAtualizCatalogoZORNAKForm() : vb::Form("frmVerifAtualizCatalogoZORNAK") {}

    vb::Timer* Timer1 = nullptr;
    std::uint8_t ContadorTimer = 0;

protected:
    void Build() override;
    void Form_Load() override;

private:
    void Timer1_Timer();
};
