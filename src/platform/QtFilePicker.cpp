#include "QtFilePicker.h"

#include <QtWidgets/QFileDialog>

namespace chimewell {

QList<FileFilter> parseFilterList(const QString& list)
{
    QList<FileFilter> filters;
    const QStringList parts = list.split(QLatin1Char('|'));
    for (int i = 0; i + 1 < parts.size(); i += 2)
        filters.append({parts[i], parts[i + 1]});
    return filters;
}

std::optional<QString> QtFilePicker::openFile(QWidget* parent, const QList<FileFilter>& filters,
                                              int selectedFilter)
{
    // Qt takes a filter's patterns from the last brackets of its text. The pattern goes there
    // and is hidden from view, so the user reads the description as it stands while the
    // pattern filters as written ("*mp3" also lists a file named "xmp3").
    QStringList names;
    for (const FileFilter& filter : filters)
        names << filter.description + QStringLiteral(" (") + filter.pattern + QLatin1Char(')');
    QFileDialog dialog(parent);
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setOption(QFileDialog::HideNameFilterDetails);
    dialog.setNameFilters(names);
    if (selectedFilter >= 0 && selectedFilter < names.size())
        dialog.selectNameFilter(names[selectedFilter]);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    return QDir::toNativeSeparators(dialog.selectedFiles().first());
}

} // namespace chimewell
