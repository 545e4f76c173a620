#include "app/presenters/Desktop.h"

#include "BuildIdentity.h"

namespace vedozer {

std::string programVersion() {
    std::string v = VEDOZER_BUILD_VERSION;
    size_t first = v.find('.');
    size_t second = first == std::string::npos ? first : v.find('.', first + 1);
    return v.substr(0, second);
}

Desktop::Desktop(Platform& platform, const DesktopViews& views, DesktopConfig config)
    : m_config(std::move(config)),
      m_dialogs(views.dialogs),
      m_host(m_dialogs),
      m_session(platform, m_host, m_config.identity),
      m_undeletable(m_session.languages(), views.undeletable),
      m_status(m_session, views.status),
      m_results(m_session, views.results, m_main, m_undeletable),
      m_scan(m_session, views.scan, m_main, m_results, m_undeletable),
      m_options(m_session, views.options, m_main, m_config.features, m_config.program),
      m_liveUpdate(m_session, views.liveUpdate),
      m_report(m_session, views.report),
      m_quarantine(m_session, views.quarantine),
      m_submit(m_session, views.submit),
      m_about(m_session, views.about, programVersion()),
      m_help(m_session, views.help, m_config.program),
      m_main(m_session, views.main,
             MainWindowParts{m_status, m_scan, m_results, m_options, m_undeletable, m_liveUpdate, m_report, m_quarantine,
                             m_submit, m_about, m_help},
             m_config.features) {
    m_host.addListener(&m_scan);
    m_host.addListener(&m_results);
    m_host.addListener(&m_liveUpdate);
    m_host.addListener(&m_submit);
    m_main.setStartInTray(m_config.startInTray);
    // The scheduler's scan shows on the scan page and the automatic update in its windows, as
    // when the person starts them.
    m_session.protection().setStartScan([this](bool removeWithoutAsking) { m_main.scheduledScan(removeWithoutAsking); });
    m_session.protection().setRunLiveUpdate([this] { m_main.runLiveUpdate(); });
    if (views.protection && m_config.features.protection) {
        MainWindowView& window = views.main;  // the views outlive the desktop, their set may not
        TrayActions actions{[&window] { window.hideWindow(); }, [&window] { window.restoreWindow(); },
                            [this] { m_main.scanNow(); }, [this] { m_main.close(); }};
        m_protection = std::make_unique<ProtectionWindows>(m_session, *views.protection, m_dialogs, std::move(actions));
        m_main.setProtection(m_protection.get());
        m_options.setSchedule(&m_protection->schedule());
    }
    m_main.setSystemName(m_config.systemName);
    m_main.setInstallsShippedDefinitions(m_config.installShippedDefinitions);
    m_results.setWriteProblem(m_config.writeProblem);
}

std::vector<LogicalTimer*> Desktop::timers() {
    // An offline system has no running programs or start page to watch: only Live Update runs.
    std::vector<LogicalTimer*> out;
    for (LogicalTimer* t : m_session.timers().all())
        if (m_config.features.protection || t == &m_session.timers().automaticUpdate) out.push_back(t);
    out.push_back(&m_liveUpdate.blinkTimer());
    if (m_protection)
        for (LogicalTimer* t : m_protection->timers()) out.push_back(t);
    return out;
}

}  // namespace vedozer
