#pragma once
// A channel grid and a function page as the pages show them, for printing without a document.

#include "grid/GridCtrl.h"

#include <QComboBox>
#include <QString>
#include <QWidget>
#include <memory>
#include <set>

namespace printtest {

// Receive frequency text of channel n: unique per channel, so a page's text tells which
// channels it holds.
inline QString RxText(int n)
{
    return QStringLiteral("%1.%2").arg(400 + n, 3, 10, QLatin1Char('0')).arg(12500 + 25 * n, 5, 10, QLatin1Char('0'));
}

// The channel grid: 129 rows and 13 columns sized like the channel table, headers from the
// current language file, the channels in `used` filled in.
std::unique_ptr<CGridCtrl> MakeChannelGrid(const std::set<int>& used);
// The first `count` channels in use.
std::set<int> FirstChannels(int count);

// The function page built from its template (labels relabelled from the current language file)
// with every list filled and a value chosen.
std::unique_ptr<QWidget> MakeFunctionPage();

} // namespace printtest
