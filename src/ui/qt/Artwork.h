#pragma once
#include <QIcon>
#include <QPixmap>

#include "app/presenters/DesktopTypes.h"

namespace vedozer::qtui {

// The product icon in every size the build renders, for windows and the desktop entry.
QIcon productIcon();
// The small icon of a results row by what it stands for (a null icon for None).
QIcon kindIcon(KindIcon kind);
// The header band's state icon: a coloured disc with a sign (a tick, "!" or a cross), so the
// state does not rest on colour alone.
QPixmap stateIcon(StateIcon state, int size, qreal devicePixelRatio);

}  // namespace vedozer::qtui
