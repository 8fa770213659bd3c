# The emission spectroscope: the light of the source, spread by the prism
# from violet (400 nm, deviated most) to the end of the red (780 nm,
# deviated least) across the screen.
apex 216 48
screen 300 56 90
