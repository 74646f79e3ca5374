#pragma once

#include "FilePicker.h"

namespace chimewell {

class QtFilePicker final : public FilePicker
{
public:
    std::optional<QString> openFile(QWidget* parent, const QList<FileFilter>& filters,
                                    int selectedFilter) override;
};

} // namespace chimewell
