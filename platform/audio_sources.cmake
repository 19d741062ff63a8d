# Audio output sources, relative to platform/.
list(APPEND PANEL_AUDIO_SOURCES
  audio.cpp
)
