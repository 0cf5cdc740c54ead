#pragma once
// A pass over the save files on a thread of its own, so that the window never waits for it:
// the work runs there, what it reports and its end come back to the window's thread. Destroying
// the pass asks the work to stop and waits for it.

#include <QObject>
#include <atomic>
#include <functional>

class QThread;

namespace tavo::ui {

class BackgroundPass : public QObject {
    Q_OBJECT
public:
    explicit BackgroundPass(QObject* parent = nullptr);
    ~BackgroundPass() override;

    bool running() const { return thread_ != nullptr; }
    // work(stop) runs on the pass's thread and should end soon once stop is set; done() runs
    // on the window's thread after it. Nothing starts while a pass runs.
    void start(std::function<void(const std::atomic<bool>& stop)> work, std::function<void()> done);
    // Runs call on the window's thread; from the work, for what it reports on the way.
    void post(std::function<void()> call);
    // Asks the work to stop and waits for it; its done() does not run.
    void stop();

private:
    QThread* thread_ = nullptr;
    int passes_ = 0;
    std::atomic<bool> stop_{false};
};

}  // namespace tavo::ui
