# Offscreen drawing surfaces for the rendered displays, relative to platform/.
list(APPEND PANEL_PLATFORM_SOURCES
  offscreen_surface.cpp
)
