#pragma once

#include "MessageBox.h"

namespace chimewell {

class QtMessageBox final : public MessageBox
{
public:
    void show(const QString& text, MessageIcon icon) override;
};

} // namespace chimewell
