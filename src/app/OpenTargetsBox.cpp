#include "OpenTargetsBox.h"

#include "MainWindow.h"
#include "platform/FilePicker.h"
#include "widgets/BrowseButton.h"
#include "widgets/FormLayout.h"

#include <QtWidgets/QCheckBox>
#include <QtWidgets/QLabel>
#include <QtWidgets/QLineEdit>
#include <QtWidgets/QPushButton>

namespace chimewell {

using form::named;
using form::place;
using form::verdana;

OpenTargetsBox::OpenTargetsBox(FilePicker& picker, QWidget* parent)
    : QGroupBox(QStringLiteral("Options"), parent)
{
    const MainWindowNames& name = mainWindowNames;
    setObjectName(QLatin1String(name.openBox));
    setFont(verdana(8.25, true));
    place(this, 120, 4080, 4455, 2175);
    m_openSite =
        named(new QCheckBox(QStringLiteral("Open site when it's time"), this), name.openSite);
    m_openSite->setFont(verdana(8.25, true));
    place(m_openSite, 240, 360, 4095, 255);
    auto* note = named(
        new QLabel(QStringLiteral("(Can also direct to a ZIP or EXE file for download)"), this),
        name.openNote);
    note->setFont(verdana(6.75));
    note->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    // A note: longer translations wrap onto a second line.
    note->setWordWrap(true);
    place(note, 480, 600, 3855, 255);
    m_site = named(new QLineEdit(QStringLiteral("http://"), this), name.siteEdit);
    m_site->setFont(form::defaultFont());
    form::nameByToolTip(m_site, QStringLiteral("Web address to open"));
    place(m_site, 120, 840, 4215, 285);
    m_openFile =
        named(new QCheckBox(QStringLiteral("Open file when it's time"), this), name.openFile);
    m_openFile->setFont(verdana(8.25, true));
    place(m_openFile, 240, 1320, 4095, 255);
    m_file = named(new QLineEdit(this), name.fileEdit);
    m_file->setFont(form::defaultFont());
    form::nameByToolTip(m_file, QStringLiteral("File to open"));
    place(m_file, 120, 1680, 3255, 285);
    auto* browseHolder = named(new QWidget(this), name.browseFileHolder);
    place(browseHolder, 3480, 1680, 855, 375);
    m_browse = browseButton(browseHolder, name.browseFile, QStringLiteral("Browse for file"),
                            picker, kFileFilterList, m_file);
    place(m_browse, 120, 0, 615, 375);

    for (QCheckBox* box : {m_openSite, m_openFile})
        connect(box, &QCheckBox::toggled, this, &OpenTargetsBox::targetsChanged);
}

QStringList OpenTargetsBox::targets() const
{
    QStringList targets;
    if (m_openSite->isChecked())
        targets << m_site->text();
    if (m_openFile->isChecked())
        targets << m_file->text();
    return targets;
}

void OpenTargetsBox::setLocked(bool locked)
{
    m_browse->setEnabled(!locked);
    m_site->setReadOnly(locked);
    m_file->setReadOnly(locked);
}

QList<QWidget*> OpenTargetsBox::tabOrder() const
{
    return {m_openSite, m_site, m_openFile, m_file, m_browse};
}

} // namespace chimewell
