# The emission spectroscope: the light of the source, spread by the prism
# from where it leaves the glass (the apex lies on the exit face), from
# violet (400 nm, deviated most) to the end of the red (780 nm, deviated
# least) across the screen.
apex 219.8 48.7
screen 300 56 90
