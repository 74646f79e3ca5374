#include "OutputWatch.h"

#include "AlarmBell.h"
#include "NoticeBoard.h"
#include "lang/Texts.h"
#include "platform/MediaPlayers.h"
#include "platform/SoundOutput.h"

#include <algorithm>

namespace chimewell {
namespace {

const QString kUnmuteKey = QStringLiteral("unmute");

OutputState stateOf(const SoundOutput* output)
{
    return output ? output->state() : OutputState{};
}

} // namespace

OutputWatch::OutputWatch(SoundOutput* output, MediaPlayers* players, AlarmBell& bell,
                         NoticeBoard& notices, const TextSource& texts,
                         std::function<std::string(std::string_view)> setting, QObject* parent)
    : QObject(parent), m_output(output), m_players(players), m_bell(bell), m_notices(notices),
      m_texts(texts), m_setting(std::move(setting))
{
    if (m_output)
        connect(m_output, &SoundOutput::changed, this, [this] {
            if (m_ringing)
                raiseForRing();
            noteForRinging();
            update();
        });
    connect(&m_bell, &AlarmBell::ringingChanged, this, &OutputWatch::onRinging);
    connect(&m_notices, &NoticeBoard::actionInvoked, this, [this](int notice, const QString& key) {
        if (notice == m_notice && key == kUnmuteKey)
            unmuteNow();
    });
    connect(&m_notices, &NoticeBoard::dismissed, this, [this](int notice) {
        if (notice == m_notice)
            m_notice = 0;
    });
    noteForRinging();
    update();
}

OutputWatch::~OutputWatch()
{
    // The program ends while an alarm rings: the output and the players are put back.
    if (m_ringing)
        onRinging(false);
}

QString OutputWatch::words(const AlarmCommands::OutputWarning& warning, const Words& say)
{
    switch (warning.kind) {
    case AlarmCommands::OutputWarning::Muted:
        return say(texts::outputMuted, {warning.time});
    case AlarmCommands::OutputWarning::Quiet:
        return say(texts::outputQuiet, {QString::number(warning.volume), warning.time});
    case AlarmCommands::OutputWarning::None:
        break;
    }
    return {};
}

void OutputWatch::look(const std::optional<QDateTime>& next, const QDateTime& now)
{
    m_next = next;
    m_now = now;
    update();
}

void OutputWatch::noteForRinging()
{
    const OutputState state = stateOf(m_output);
    const Hearing heard = hearing(state);
    m_bell.setOutputNote(heard == Hearing::Muted ? m_texts.words(texts::ringMuted)
                         : heard == Hearing::Quiet
                             ? m_texts.words(texts::ringQuiet, {QString::number(state.volume)})
                             : QString());
}

void OutputWatch::update()
{
    const OutputState state = stateOf(m_output);
    const Hearing heard = hearing(state);

    const std::optional<std::int64_t> ahead =
        m_next && m_now.isValid() ? std::optional<std::int64_t>(m_now.secsTo(*m_next))
                                  : std::nullopt;
    const bool warn = warnOf(state, ahead);
    AlarmCommands::OutputWarning warning;
    if (warn)
        warning = {heard == Hearing::Muted ? AlarmCommands::OutputWarning::Muted
                                           : AlarmCommands::OutputWarning::Quiet,
                   m_next->time().toString(QStringLiteral("hh:mm")), state.volume};
    if (m_once.update(warn, state)) {
        const QString button =
            heard == Hearing::Muted
                ? m_texts.words(texts::unmuteNow)
                : m_texts.words(texts::turnUpNow, {QString::number(kRingVolumePercent)});
        const Notice notice{
            QStringLiteral("Chimewell"),
            words(warning, [this](const Text& text,
                                  const QStringList& fill) { return m_texts.words(text, fill); }),
            true,
            {{kUnmuteKey, button}},
            {}};
        if (m_notice)
            m_notices.retell(m_notice, notice);
        else
            m_notice = m_notices.tell(notice);
    } else if (!warn && state.known && m_notice) {
        // Heard again (or no alarm near): the notice has nothing more to say.
        m_notices.withdraw(std::exchange(m_notice, 0));
    }
    if (warning == m_warning)
        return;
    m_warning = warning;
    emit warningChanged();
}

void OutputWatch::onRinging(bool ringing)
{
    if (ringing == m_ringing)
        return;
    m_ringing = ringing;
    if (ringing) {
        m_whenMuted = whenMutedSetting(m_setting(kWhenMutedKey));
        raiseForRing();
        if (m_players && pauseMusicSetting(m_setting(kPauseMusicKey))) {
            m_players->pausePlaying();
            m_playersPaused = true;
        }
        return;
    }
    if (const auto before = m_unmute.after(stateOf(m_output)); before && m_output)
        m_output->set(*before);
    if (std::exchange(m_playersPaused, false) && m_players)
        m_players->resumePaused();
}

void OutputWatch::raiseForRing()
{
    if (const auto raised = m_unmute.during(stateOf(m_output), m_whenMuted); raised && m_output)
        m_output->set(*raised);
}

void OutputWatch::unmuteNow()
{
    const OutputState state = stateOf(m_output);
    if (!m_output || !state.known)
        return;
    m_output->set(
        {true, false, state.volume < kQuietBelowPercent ? kRingVolumePercent : state.volume});
    m_notices.withdraw(std::exchange(m_notice, 0));
}

} // namespace chimewell
