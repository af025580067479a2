#pragma once
// FCabinetCopy: rebuilds a cabinet by replaying its object log against a fresh
// cabinet, either at a new outer size (CopyCb) or without the last placed element
// (DelBC). The source is left unchanged; the caller owns the result.

#include <memory>

#include "cabinet/UCabinet.h"

class FCabinetCopy {
  public:
    // The same design at outer size _w x _d x _h (mm). Shelf heights scale with the
    // height and partition positions with the width; everything else follows from
    // the regions. Throws std::invalid_argument when the source has no width or no
    // height to scale from, std::runtime_error when its log names a missing element.
    static std::unique_ptr<FCabinet> CopyCb(double _w, double _d, double _h, const FCabinet& _cb);
    // The same design without the last entry of its object log, at the size given.
    // Throws std::runtime_error when the log names a missing element.
    static std::unique_ptr<FCabinet> DelBC(double _w, double _d, double _h, const FCabinet& _cb);

  private:
    static std::unique_ptr<FCabinet> Replay(double _w, double _d, double _h, const FCabinet& _cb,
                                            std::size_t entries, double sx, double sy);
};
