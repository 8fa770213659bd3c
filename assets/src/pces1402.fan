# The absorption spectroscope: the same fan as the emission spectroscope's,
# after the white light has crossed the permanganate solution, so that the
# band it absorbs is missing from the fan as from the spectrum under it.
apex 219.8 48.7
screen 300 56 90
through permanganate
