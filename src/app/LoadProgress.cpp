#include "app/LoadProgress.h"

namespace wexly {

TLoadProgressStep TLoadProgressText::Report(
    const std::string& name, int64_t done, int64_t total, uint64_t nowMs)
{
    // While a text is shown (a load read again, or one that failed and left its text) the new
    // load goes on showing at once, so that the panel never keeps a stale figure.
    if (!m_loading || name != m_name || done < m_done) {
        m_loading = true;
        m_name = name;
        m_startMs = nowMs;
    }
    m_done = done;
    TLoadProgressStep step;
    if (total <= 0 || done >= total) {
        m_loading = false;
        if (m_shown)
            step.kind = TLoadProgressStep::TKind::Done;
        m_shown = false;
        return step;
    }
    const bool quietOver = m_shown || nowMs - m_startMs >= m_quietMs;
    if (!quietOver || (m_shown && nowMs - m_shownMs < m_repeatMs))
        return step;
    m_shown = true;
    m_shownMs = nowMs;
    step.kind = TLoadProgressStep::TKind::Show;
    const int64_t percent = done * 100 / total;
    step.text = "Reading " + name + "... " + std::to_string(percent) + "%";
    return step;
}

} // namespace wexly
