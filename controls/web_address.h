#pragma once

#include <functional>

#include <QString>

namespace controls {

// The publisher's web address: the publisher links of the intro window and its credits, the
// publisher's row among the answering centres and the browsing window's publisher hot spots.
inline constexpr char kPublisherWebAddress[] = "www.morvandel.example";

// Hands a web address ("www.example.org" or a full URL) to the desktop, which shows it in the
// default browser. Nothing is reported when the desktop has no handler.
void openWebAddress(const QString& address);

// Where addresses go instead of the desktop while set (tests capture them here). An empty
// handler restores the desktop.
using WebAddressHandler = std::function<void(const QString& address)>;
void setWebAddressHandler(WebAddressHandler handler);

}  // namespace controls
