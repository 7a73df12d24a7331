from os import PathLike
from typing import Callable, Optional, Sequence, Union

version: str

_Path = Union[str, PathLike[str]]

class Map:
    path: Optional[_Path]
    def __init__(self, path: Optional[_Path] = ...) -> None: ...
    @property
    def fonts(self) -> list[str]: ...
    @property
    def aliases(self) -> dict[str, list[str]]: ...
    def find_font(self, name: str) -> str: ...

def convert(data: Union[bytes, bytearray, memoryview, str], source: Union[str, type], target: str,
            map: Optional[Map] = ..., errors: str = ...) -> bytes: ...
def convert_file(input: _Path, output: _Path, source: str, target: str, force: bool = ...,
                 map: Optional[Map] = ..., strict: bool = ...) -> dict: ...
def convert_document(input: _Path, output: _Path, source: str, target: str, force: bool = ...,
                     map: Optional[Map] = ..., strict: bool = ...) -> dict: ...
def convert_batch(inputs: Union[_Path, Sequence[_Path]], source: str, target: str, output: Optional[_Path] = ...,
                  beside: bool = ..., in_place: bool = ..., recursive: bool = ..., force: bool = ...,
                  backup: Optional[str] = ..., keep_time: bool = ..., jobs: int = ..., strict: bool = ...,
                  progress: Optional[Callable[[int, int], bool]] = ..., map: Optional[Map] = ...) -> dict: ...

class Detection:
    verdict: str
    candidates: list[tuple[str, float, str]]
    font: Optional[str]
    typed: Optional[str]
    read_as: Optional[str]

def detect(data: bytes, map: Optional[Map] = ...) -> Detection: ...
