# Game files laid out for the end-to-end tests of the focus: a whole table with chosen cards home or in a free cell.
"""table_record(home=..., free=...) returns the 599 bytes of a game whose 52 cards lie in the columns,
row by row from column 1, except the cards put in the home cells and the free cells (at most one per
cell). The home cells then hold a card of rank 1 each (an ace alone on its pile), so that the record's
count of cards home is their number."""

RECORD_SIZE = 599
FREE_CELLS_AT = 567
HOME_CELLS_AT = 582
HOME_COUNT_AT = 597
RANKS = ["A", "2", "3", "4", "5", "6", "7", "8", "9", "10", "J", "Q", "K"]


def _slot(code):
    return code.ljust(3).encode("ascii")


def table_record(home=(), free=()):
    if any(not card.startswith("A") for card in home):
        raise ValueError("only aces can lie alone in a home cell")
    aside = set(home) | set(free)
    deck = [rank + suit for suit in "SDCH" for rank in RANKS if rank + suit not in aside]
    record = bytearray(RECORD_SIZE)
    for col in range(8):
        for row in range(1, 20):
            i = (row - 1) * 8 + col
            offset = 3 * (row + 21 * col)
            record[offset:offset + 3] = _slot(deck[i] if i < len(deck) else "")
    for k in range(4):
        record[FREE_CELLS_AT + 3 * k:FREE_CELLS_AT + 3 * k + 3] = _slot(free[k] if k < len(free) else "")
        record[HOME_CELLS_AT + 3 * k:HOME_CELLS_AT + 3 * k + 3] = _slot(home[k] if k < len(home) else "")
    record[HOME_COUNT_AT:HOME_COUNT_AT + 2] = len(home).to_bytes(2, "little")
    return bytes(record)


def write_table(path, home=(), free=()):
    with open(path, "wb") as f:
        f.write(table_record(home, free))
    return path


def last_card_record(in_free_cell):
    """A game with 51 cards home (the kings of spades, diamonds and clubs, and the queen of hearts in home
    cell 1) and the king of hearts left, in row 1 of column 1 or in free cell 1."""
    record = bytearray(RECORD_SIZE)
    for col in range(8):
        for row in range(1, 20):
            offset = 3 * (row + 21 * col)
            record[offset:offset + 3] = _slot("")
    for k in range(4):
        record[FREE_CELLS_AT + 3 * k:FREE_CELLS_AT + 3 * k + 3] = _slot("")
    if in_free_cell:
        record[FREE_CELLS_AT:FREE_CELLS_AT + 3] = _slot("KH")
    else:
        record[3:6] = _slot("KH")
    for k, top in enumerate(("QH", "KS", "KD", "KC")):
        record[HOME_CELLS_AT + 3 * k:HOME_CELLS_AT + 3 * k + 3] = _slot(top)
    record[HOME_COUNT_AT:HOME_COUNT_AT + 2] = (51).to_bytes(2, "little")
    return bytes(record)
