#include "AlarmFields.h"

#include "lang/Texts.h"
#include "platform/FilePicker.h"
#include "platform/MessageBox.h"
#include "storage/AlarmTime.h"
#include "widgets/BrowseButton.h"
#include "widgets/FormLayout.h"
#include "widgets/QtText.h"

#include <QtWidgets/QLabel>
#include <QtWidgets/QLineEdit>
#include <QtWidgets/QPushButton>

namespace chimewell {

using form::named;
using form::place;

AlarmFields::AlarmFields(FilePicker& picker, int top, int height, QWidget* parent)
    : QGroupBox(QStringLiteral("Alarm"), parent)
{
    const AlarmFieldNames& name = alarmFieldNames;
    setObjectName(QLatin1String(name.frame));
    setFont(form::verdana(8.25, true));
    place(this, 120, top, 4455, height);
    // Each field with its label above it, which names it for screen readers and takes the
    // focus to it on its Alt+letter.
    auto field = [this](const char* labelName, const QString& caption, int labelWidth,
                        const char* editName, const QString& text, int top, int width, int height) {
        auto* label = named(new QLabel(caption, this), labelName);
        label->setFont(form::verdana(8.25));
        label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        place(label, 240, top, labelWidth, 375);
        auto* edit = named(new QLineEdit(text, this), editName);
        edit->setFont(form::defaultFont());
        place(edit, 240, top + 240, width, height);
        label->setBuddy(edit);
        return edit;
    };
    m_reason = field(name.reasonLabel, QStringLiteral("Reason for alarm"), 2775, name.reasonEdit,
                     {}, 360, 4095, 315);
    m_time = field(name.timeLabel, QStringLiteral("Time (hh:mm)"), 1815, name.timeEdit,
                   QStringLiteral("13:00"), 1080, 615, 285);
    m_music = field(name.musicLabel, QStringLiteral("Select music source"), 3015, name.musicEdit,
                    {}, 1680, 3135, 285);
    // The "..." button in a picture box of its own, right of the sound's field.
    auto* holder = named(new QWidget(this), name.browseHolder);
    place(holder, 3480, 1680, 855, 615);
    m_browse = chimewell::browseButton(holder, name.browse, QStringLiteral("Browse for sound file"),
                                       picker, kMusicFilterList, m_music);
    place(m_browse, 120, 120, 615, 375);
    setTabOrder(m_reason, m_time);
    setTabOrder(m_time, m_music);
    setTabOrder(m_music, m_browse);
}

std::optional<AlarmFields::Values> AlarmFields::validated(MessageBox& messages) const
{
    if (m_reason->text().isEmpty() || m_time->text().isEmpty()) {
        messages.show(translated(texts::fillInAllFields), MessageIcon::Exclamation);
        return std::nullopt;
    }
    const auto minute = parseTimeOfDay(toStd(m_time->text()));
    if (!minute) {
        messages.show(translated(texts::timeFormat), MessageIcon::Exclamation);
        return std::nullopt;
    }
    m_time->setText(toQ(formatTimeOfDay(*minute)));
    return Values{m_reason->text(), *minute, m_music->text()};
}

void AlarmFields::setLocked(bool locked)
{
    for (QLineEdit* edit : {m_reason, m_time, m_music})
        edit->setReadOnly(locked);
    m_browse->setEnabled(!locked);
}

} // namespace chimewell
