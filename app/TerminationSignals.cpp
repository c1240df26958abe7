#include "TerminationSignals.h"

namespace quenlix {

TerminationSignals::TerminationSignals(std::function<void()> onSignal) : onSignal_(std::move(onSignal)) {
    if (pipe_.ReadEnd() < 0) return;
    notifier_ = std::make_unique<QSocketNotifier>(pipe_.ReadEnd(), QSocketNotifier::Read);
    QObject::connect(notifier_.get(), &QSocketNotifier::activated, [this] { Deliver(); });
}

void TerminationSignals::Deliver() {
    pipe_.TakeSignals();
    onSignal_();
}

}  // namespace quenlix
