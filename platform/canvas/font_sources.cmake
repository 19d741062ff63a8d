# Font loading and glyph rasterisation, relative to platform/.
list(APPEND PANEL_CANVAS_SOURCES
  canvas/font.cpp
)
