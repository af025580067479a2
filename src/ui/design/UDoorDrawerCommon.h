#pragma once
// Pieces the door and drawer dialogs share with the board dialogs' look: the read-only
// region group and the drawer's explanatory picture.

#include <QGroupBox>
#include <QLineEdit>
#include <QPixmap>

// Group "分格尺寸" with the four read-only region fields.
QGroupBox* MakeRegionGroup(QWidget* parent, QLineEdit*& w, QLineEdit*& d, QLineEdit*& h,
                           QLineEdit*& z);
// The drawer with its front W x H, box depth D and height M, insets E and F, box
// boards A and bottom B.
QPixmap DrawerPicture();
