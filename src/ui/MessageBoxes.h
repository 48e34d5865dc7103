#pragma once
// Every modal box the tool shows goes through here, so that automated runs
// can take the box instead of blocking on it.
#include <QString>

#include <functional>

class QWidget;

namespace zx::ui {

enum class BoxKind { Error, Warning, Information };

using BoxInterceptor = std::function<void(BoxKind kind, const QString &title, const QString &text)>;

// With an interceptor set no box is shown: the interceptor is told instead.
void setBoxInterceptor(BoxInterceptor interceptor);

void showBox(QWidget *parent, BoxKind kind, const QString &title, const QString &text);

} // namespace zx::ui
