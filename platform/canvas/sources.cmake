# Raster canvas sources, relative to platform/.
list(APPEND PANEL_CANVAS_SOURCES
)
