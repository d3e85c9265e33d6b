#include "print/surface.h"

#include "print/qtsurface.h"

namespace korvan::print {
namespace {

class QtSurfaceFactory : public SurfaceFactory {
 public:
  std::unique_ptr<PageSurface> makeSurface() override { return std::make_unique<QtSurface>(); }
};

SurfaceFactory* installed = nullptr;

}  // namespace

SurfaceFactory& surfaceFactory() {
  static QtSurfaceFactory real;
  return installed ? *installed : real;
}

void setSurfaceFactory(SurfaceFactory* f) { installed = f; }

}  // namespace korvan::print
