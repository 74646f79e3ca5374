#pragma once

#include <QtCore/QList>
#include <QtCore/QString>
#include <optional>

class QWidget;

namespace chimewell {

/// One entry of a picker's type list: what the user reads and the pattern that filters.
struct FileFilter
{
    QString description;
    QString pattern;
};

/// The file-open dialog. Returns the full path of the chosen file, or nothing when the user
/// cancelled or anything went wrong.
class FilePicker
{
public:
    virtual ~FilePicker() = default;
    virtual std::optional<QString> openFile(QWidget* parent, const QList<FileFilter>& filters,
                                            int selectedFilter) = 0;
};

/// The type lists of the program's two pickers: sound files, and files to open.
inline constexpr char kMusicFilterList[] = "MP3 files (*.mp3)|*mp3|WAV files (*.wav)|*.wav|";
inline constexpr char kFileFilterList[] =
    "Word Documents (*.doc)|*doc|RTF Documents (*.rtf)|*.rtf|Text Files (*.txt)|*.txt|"
    "Excel Spreadsheets (*.xls)|*.xls|PowerPoint Presentations (*.ppt)|*.ppt|"
    "PowerPoint Slideshows (*.pps)|*.pps|Programs (*.exe)|*.exe|All Files (*.*)|*.*|";

/// Reads a type list written as "description|pattern|description|pattern|".
QList<FileFilter> parseFilterList(const QString& list);

} // namespace chimewell
