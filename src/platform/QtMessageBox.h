#pragma once

#include "MessageBox.h"

namespace chimewell {

class QtMessageBox final : public MessageBox
{
public:
    void show(const QString& text, MessageIcon icon) override;
    bool ask(const QString& text) override;
};

} // namespace chimewell
