#include "ui/background_pass.h"

#include <QThread>

namespace tavo::ui {

BackgroundPass::BackgroundPass(QObject* parent) : QObject(parent) {}

BackgroundPass::~BackgroundPass() {
    stop();
}

void BackgroundPass::start(std::function<void(const std::atomic<bool>& stop)> work,
                           std::function<void()> done) {
    if (thread_ != nullptr) return;
    stop_ = false;
    thread_ = QThread::create([this, work = std::move(work)] { work(stop_); });
    // The end of a pass that stop() already waited for may still be on its way: it is passed by.
    connect(thread_, &QThread::finished, this, [this, pass = ++passes_, done = std::move(done)] {
        if (pass != passes_ || thread_ == nullptr) return;
        thread_->deleteLater();
        thread_ = nullptr;
        done();
    });
    thread_->start();
}

void BackgroundPass::post(std::function<void()> call) {
    QMetaObject::invokeMethod(this, std::move(call), Qt::QueuedConnection);
}

void BackgroundPass::stop() {
    if (thread_ == nullptr) return;
    stop_ = true;
    ++passes_;
    thread_->wait();
    delete thread_;
    thread_ = nullptr;
}

}  // namespace tavo::ui
